#pragma once

#include <QDialog>

class QMenuBar;
class QTextBrowser;

namespace banc::window {

// The keys of the menus, as a table of the entries that have some: read
// from the menus themselves, so that the help never lags behind them.
QString KeysTable(const QMenuBar& menus);

// The console's help page (F1): how a run goes, the card, the files, and
// the keys of the menus. Beside the window, which stays usable.
class HelpWindow : public QDialog {
    Q_OBJECT

public:
    HelpWindow(const QMenuBar& menus, QWidget* parent);

    // The page as the user reads it.
    QString Text() const;

private:
    QTextBrowser* m_page;
};

// The help window of `parent`, made the first time, raised the next.
void ShowHelp(QWidget* parent, const QMenuBar& menus);

}  // namespace banc::window
