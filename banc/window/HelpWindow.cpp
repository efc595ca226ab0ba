#include "window/HelpWindow.h"

#include <QAction>
#include <QFile>
#include <QMenu>
#include <QMenuBar>
#include <QTextBrowser>
#include <QVBoxLayout>

#include "window/Latin1.h"

// The page is a resource of this library, which a program linking it statically must load.
static void LoadHelpPage() { Q_INIT_RESOURCE(help); }

namespace banc::window {
namespace {

QString Page()
{
    LoadHelpPage();
    QFile page(QStringLiteral(":/aide/aide.html"));
    return page.open(QIODevice::ReadOnly) ? QString::fromUtf8(page.readAll()) : QString();
}

}  // namespace

QString KeysTable(const QMenuBar& menus)
{
    QString rows;
    for (const QAction* title : menus.actions()) {
        const QMenu* menu = title->menu();
        if (!menu) continue;
        for (const QAction* entry : menu->actions()) {
            if (entry->shortcut().isEmpty()) continue;
            rows += QStringLiteral("<tr><td>%1</td><td>%2</td><td>%3</td></tr>\n")
                        .arg(title->text().remove('&').toHtmlEscaped(), entry->text().remove('&').toHtmlEscaped(),
                             entry->shortcut().toString(QKeySequence::NativeText).toHtmlEscaped());
        }
    }
    return QStringLiteral("<table cellpadding=\"3\">\n") + rows + QStringLiteral("</table>\n");
}

HelpWindow::HelpWindow(const QMenuBar& menus, QWidget* parent) : QDialog(parent), m_page(new QTextBrowser(this))
{
    setObjectName(QStringLiteral("aide"));
    setWindowTitle(Q("Aide de tarvic-banc-fenetre"));
    m_page->setOpenExternalLinks(true);
    m_page->setHtml(Page() + KeysTable(menus));
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_page);
    resize(640, 560);
}

QString HelpWindow::Text() const { return m_page->toPlainText(); }

void ShowHelp(QWidget* parent, const QMenuBar& menus)
{
    auto* help = parent->findChild<HelpWindow*>();
    if (!help) help = new HelpWindow(menus, parent);
    help->show();
    help->raise();
    help->activateWindow();
}

}  // namespace banc::window
