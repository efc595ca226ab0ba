#include "window/MenuBar.h"

#include <QApplication>
#include <QMenu>

#include "engine/outputs/Synoptic.h"
#include "window/Latin1.h"

namespace banc::window {
namespace {

// An entry of a menu, with its keys when it has some.
QAction* Entry(QMenu* menu, const char* caption, const QKeySequence& keys = {})
{
    QAction* action = menu->addAction(Q(caption));
    action->setShortcut(keys);
    return action;
}

// The desktop's keys for `key`, or `usual` where the desktop gives none.
QKeySequence Standard(QKeySequence::StandardKey key, const QKeySequence& usual)
{
    const QKeySequence keys(key);
    return keys.isEmpty() ? usual : keys;
}

}  // namespace

MenuBar::MenuBar(QWidget* parent) : QMenuBar(parent)
{
    AddFileMenu();
    AddRunMenu();
    AddViewMenu();
    AddHelpMenu();
}

void MenuBar::Add(QMenu* menu, Action action, const char* caption, const QKeySequence& keys)
{
    QAction* entry = Entry(menu, caption, keys);
    connect(entry, &QAction::triggered, this, [this, action] { emit triggered(action); });
    m_actions[action] = entry;
}

void MenuBar::AddFileMenu()
{
    QMenu* menu = addMenu(Q("&Fichier"));
    Add(menu, Action::Open, "&Ouvrir un essai...", QKeySequence::Open);
    Add(menu, Action::Save, "&Enregistrer l'essai...", QKeySequence::Save);
    Add(menu, Action::ExportCsv, "Exporter les courbes en &CSV...");
    Add(menu, Action::ExportPng, "Exporter le trac\xE9 en &PNG...");
    menu->addSeparator();
    connect(Entry(menu, "Exporter le &rapport en PDF..."), &QAction::triggered, this, &MenuBar::reportAsked);
    connect(Entry(menu, "&Imprimer le rapport...", QKeySequence::Print), &QAction::triggered, this,
            &MenuBar::printAsked);
    menu->addSeparator();
    connect(Entry(menu, "&Quitter", Standard(QKeySequence::Quit, Qt::CTRL | Qt::Key_Q)), &QAction::triggered, this,
            &MenuBar::quitAsked);
}

void MenuBar::AddRunMenu()
{
    QMenu* menu = addMenu(Q("E&ssai"));
    Add(menu, Action::Download, "&T\xE9l\xE9" "charger la configuration");
    Add(menu, Action::Start, "&D\xE9marrer l'essai", Qt::Key_F5);
    Add(menu, Action::Stop, "&Arr\xEAter l'essai", Qt::SHIFT | Qt::Key_F5);
    menu->addSeparator();
    Add(menu, Action::Identify, "&Identifier le processus...", Qt::CTRL | Qt::Key_I);
    Add(menu, Action::Sweep, "R\xE9ponse &fr\xE9quentielle...", Qt::CTRL | Qt::Key_B);
    menu->addSeparator();
    m_card = Entry(menu, "Ca&rte...");
    connect(m_card, &QAction::triggered, this, &MenuBar::cardAsked);
    const auto item = [&](const char* caption, int number) {
        connect(Entry(menu, caption), &QAction::triggered, this, [this, number] { emit itemAsked(number); });
    };
    item("&Banc...", kBenchBlock);
    item("R\xE9&gulateur...", kControllerBlock);
    item("&Consigne...", kGeneratorBlock);
    item("&Enregistrement...", kRecordingBlock);
}

void MenuBar::AddViewMenu()
{
    QMenu* menu = m_view = addMenu(Q("Afficha&ge"));
    connect(Entry(menu, "Zoom &avant", QKeySequence::ZoomIn), &QAction::triggered, this, &MenuBar::zoomInAsked);
    connect(Entry(menu, "Zoom a&rri\xE8re", QKeySequence::ZoomOut), &QAction::triggered, this, &MenuBar::zoomOutAsked);
    connect(Entry(menu, "&Tout voir", Qt::CTRL | Qt::Key_0), &QAction::triggered, this, &MenuBar::showAllAsked);
    menu->addSeparator();
    QAction* fullScreen = Entry(menu, "&Plein \xE9" "cran", QKeySequence::FullScreen);
    fullScreen->setCheckable(true);
    connect(fullScreen, &QAction::toggled, this, &MenuBar::fullScreenAsked);
}

void MenuBar::AddHelpMenu()
{
    QMenu* menu = addMenu(Q("A&ide"));
    connect(Entry(menu, "&Aide de la console", QKeySequence::HelpContents), &QAction::triggered, this,
            &MenuBar::helpAsked);
    menu->addSeparator();
    connect(Entry(menu, "\xC0 &propos de tarvic-banc-fenetre"), &QAction::triggered, this, &MenuBar::aboutAsked);
    connect(Entry(menu, "\xC0 propos de &Qt"), &QAction::triggered, qApp, &QApplication::aboutQt);
}

void MenuBar::AddViewEntry(QAction* toggle, const char* caption, const QKeySequence& keys)
{
    toggle->setText(Q(caption));
    toggle->setShortcut(keys);
    m_view->addSeparator();
    m_view->addAction(toggle);
}

void MenuBar::SetState(bool connected, bool running, bool identifiable)
{
    for (const auto& [action, entry] : m_actions) entry->setEnabled(Allowed(action, connected, running, identifiable));
    m_card->setEnabled(!running);
}

}  // namespace banc::window
