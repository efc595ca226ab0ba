#pragma once

#include <QMenuBar>

#include <map>

#include "window/ActionBar.h"

class QAction;
class QMenu;

namespace banc::window {

// The window's menus, as on the desktop: Fichier, Essai, Affichage, Aide,
// with the usual keys (Ctrl+O, Ctrl+S, Ctrl+Q, F1...). The file and run
// entries are the action bar's actions; the others are asked of the window
// through the signals.
class MenuBar : public QMenuBar {
    Q_OBJECT

public:
    explicit MenuBar(QWidget* parent = nullptr);

    QAction* Of(Action action) const { return m_actions.at(action); }
    // Enabled as the action bar's buttons are; the card is not changed under a run.
    void SetState(bool connected, bool running, bool identifiable);
    // A pane's entry in Affichage, checked while the pane shows.
    void AddViewEntry(QAction* toggle, const char* caption, const QKeySequence& keys);

signals:
    void triggered(Action action);
    void cardAsked();
    void itemAsked(int item);  // a block's settings, as a click on the synoptic
    void quitAsked();
    void reportAsked();  // the report of what the plot shows, as PDF
    void printAsked();
    void zoomInAsked();
    void zoomOutAsked();
    void showAllAsked();
    void fullScreenAsked(bool on);
    void helpAsked();
    void aboutAsked();

private:
    // An action bar's action in `menu`.
    void Add(QMenu* menu, Action action, const char* caption, const QKeySequence& keys = {});
    void AddFileMenu();
    void AddRunMenu();
    void AddViewMenu();
    void AddHelpMenu();

    std::map<Action, QAction*> m_actions;
    QAction* m_card = nullptr;
    QMenu* m_view = nullptr;
};

}  // namespace banc::window
