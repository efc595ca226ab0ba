#include "AboutDlg.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "DialogUnits.h"
#include "PanelIcon.h"

CAboutDlg::CAboutDlg(const PanelVariant& variant, QWidget* parent) : QDialog(parent)
{
    setFont(DialogFont());
    setWindowTitle(QString::fromLatin1(variant.aboutTitle));

    auto* icon = new QLabel(this);
    const int side = fontMetrics().height() * 2;
    icon->setPixmap(PanelIcon().pixmap(side, side));
    auto* text = new QLabel(QString::fromLatin1(variant.aboutText), this);
    auto* ok = new QPushButton(QStringLiteral("OK"), this);
    ok->setObjectName(QStringLiteral("1"));
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &CAboutDlg::accept);

    auto* top = new QHBoxLayout;
    top->addWidget(icon);
    top->addWidget(text, 1);
    top->addWidget(ok, 0, Qt::AlignTop);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
}
