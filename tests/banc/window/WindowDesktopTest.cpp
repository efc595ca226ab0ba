#include <gtest/gtest.h>

#include <QAction>
#include <QMenu>
#include <QMessageBox>
#include <QTest>

#include <tarvic/Version.h>

#include "WindowFixture.h"
#include "window/About.h"
#include "window/HelpWindow.h"
#include "window/MenuBar.h"

using namespace banc;
using banc::test::SpinUntil;

namespace {

// Each entry as "Menu > Entry [keys]", in the menus' order.
std::vector<std::string> Entries(const QMenuBar& menus)
{
    std::vector<std::string> entries;
    for (const QAction* title : menus.actions())
        for (const QAction* entry : title->menu()->actions()) {
            if (entry->isSeparator()) continue;
            std::string line = (title->text() + " > " + entry->text()).toStdString();
            if (!entry->shortcut().isEmpty()) line += " [" + entry->shortcut().toString().toStdString() + "]";
            entries.push_back(line);
        }
    return entries;
}

class WindowDesktop : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_fixture.Prefer("niveaueau", "pid", 50);
        m_fixture.Open();
    }
    window::BenchWindow& Window() { return m_fixture.Window(); }
    // The keys pressed on the active window, as the user would.
    void Press(const QKeySequence& keys)
    {
        Window().activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&Window()));
        QTest::keySequence(&Window(), keys);
    }

    banc::test::WindowFixture m_fixture;
};

}  // namespace

TEST_F(WindowDesktop, FourMenusWithTheDesktopsKeys)
{
    const std::vector<std::string> expected = {
        "&Fichier > &Ouvrir un essai... [Ctrl+O]",
        "&Fichier > &Enregistrer l'essai... [Ctrl+S]",
        "&Fichier > Exporter les courbes en &CSV...",
        "&Fichier > Exporter le trac\xC3\xA9 en &PNG...",
        "&Fichier > Exporter le &rapport en PDF...",
        "&Fichier > &Imprimer le rapport... [Ctrl+P]",
        "&Fichier > &Quitter [Ctrl+Q]",
        "E&ssai > &T\xC3\xA9l\xC3\xA9" "charger la configuration",
        "E&ssai > &D\xC3\xA9marrer l'essai [F5]",
        "E&ssai > &Arr\xC3\xAAter l'essai [Shift+F5]",
        "E&ssai > &Identifier le processus... [Ctrl+I]",
        "E&ssai > R\xC3\xA9ponse &fr\xC3\xA9quentielle... [Ctrl+B]",
        "E&ssai > Ca&rte...",
        "E&ssai > &Banc...",
        "E&ssai > R\xC3\xA9&gulateur...",
        "E&ssai > &Consigne...",
        "E&ssai > &Enregistrement...",
        "Afficha&ge > Zoom &avant [Ctrl++]",
        "Afficha&ge > Zoom a&rri\xC3\xA8re [Ctrl+-]",
        "Afficha&ge > &Tout voir [Ctrl+0]",
        "Afficha&ge > &Plein \xC3\xA9" "cran [F11]",
        "Afficha&ge > &Historique des essais [Ctrl+H]",
        "A&ide > &Aide de la console [F1]",
        "A&ide > \xC3\x80 &propos de tarvic-banc-fenetre",
        "A&ide > \xC3\x80 propos de &Qt",
    };
    EXPECT_EQ(Entries(*Window().Menus()), expected);
    // The desktop's own keys, whatever they are on this desktop.
    const window::MenuBar& menus = *Window().Menus();
    EXPECT_EQ(menus.Of(window::Action::Open)->shortcut(), QKeySequence(QKeySequence::Open));
    EXPECT_EQ(menus.Of(window::Action::Save)->shortcut(), QKeySequence(QKeySequence::Save));
}

TEST_F(WindowDesktop, TheMenusFollowTheRunAsTheButtonsDo)
{
    const window::MenuBar& menus = *Window().Menus();
    ASSERT_TRUE(SpinUntil([&] { return m_fixture.Bench().Card().State() == window::LinkState::Answering; }));
    EXPECT_TRUE(menus.Of(window::Action::Start)->isEnabled());
    EXPECT_FALSE(menus.Of(window::Action::Stop)->isEnabled());
    Window().Do(window::Action::Start);
    ASSERT_TRUE(m_fixture.Bench().Running());
    EXPECT_FALSE(menus.Of(window::Action::Start)->isEnabled());
    EXPECT_FALSE(menus.Of(window::Action::Open)->isEnabled());
    EXPECT_TRUE(menus.Of(window::Action::Stop)->isEnabled());
    menus.Of(window::Action::Stop)->trigger();
    EXPECT_TRUE(SpinUntil([&] { return !m_fixture.Bench().Running(); }));
    EXPECT_TRUE(menus.Of(window::Action::Start)->isEnabled());
}

TEST_F(WindowDesktop, CtrlOAndCtrlSOpenTheFileDialogs)
{
    // Where they open and the name they offer: WindowFiles.
    Press(QKeySequence::Open);
    EXPECT_EQ(m_fixture.prompts.offered.size(), 1u);
    Press(QKeySequence::Save);
    ASSERT_EQ(m_fixture.prompts.offered.size(), 2u);
    EXPECT_NE(m_fixture.prompts.offered[1].find("/niveaueau-pid-"), std::string::npos);
}

TEST_F(WindowDesktop, F1OpensTheHelpPageWithTheKeysOfTheMenus)
{
    Press(QKeySequence::HelpContents);
    auto* help = Window().findChild<window::HelpWindow*>();
    ASSERT_NE(help, nullptr);
    EXPECT_TRUE(help->isVisible());
    const QString text = help->Text();
    EXPECT_TRUE(text.startsWith(QStringLiteral("La console des bancs\n"))) << text.left(80).toStdString();
    EXPECT_NE(text.indexOf(QStringLiteral("Ouvrir un essai...")), -1);
    // Once only, raised again.
    help->hide();
    Window().Menus()->actions().back()->menu()->actions().front()->trigger();
    EXPECT_EQ(Window().findChildren<window::HelpWindow*>().size(), 1);
    EXPECT_TRUE(help->isVisible());
}

TEST(HelpKeys, TheTableListsTheEntriesThatHaveKeysInFrench)
{
    banc::test::Application();
    QMenuBar menus;
    QMenu* file = menus.addMenu(QStringLiteral("&Fichier"));
    file->addAction(QStringLiteral("&Ouvrir"))->setShortcut(Qt::CTRL | Qt::Key_O);
    file->addAction(QStringLiteral("Exporter"));
    file->addSeparator();
    file->addAction(QStringLiteral("Zoom <avant>"))->setShortcut(Qt::SHIFT | Qt::Key_F5);
    EXPECT_EQ(window::KeysTable(menus).toStdString(),
              "<table cellpadding=\"3\">\n"
              "<tr><td>Fichier</td><td>Ouvrir</td><td>Ctrl+O</td></tr>\n"
              "<tr><td>Fichier</td><td>Zoom &lt;avant&gt;</td><td>Maj+F5</td></tr>\n"
              "</table>\n");
}

TEST_F(WindowDesktop, AboutSaysTheVersion)
{
    EXPECT_EQ(window::AboutText().toStdString(),
              "<p><b>tarvic-banc-fenetre</b> " TARVIC_VERSION_STRING
              "</p>"
              "<p>La console des bancs d'automatique : un essai de r\xC3\xA9gulation sur l'un des cinq bancs "
              "(niveau d'eau, d\xC3\xA9" "bit d'air et temp\xC3\xA9rature, axe num\xC3\xA9rique, moteur et charge, "
              "charge \xC3\xA9lectrique), sur sa carte d'interface ou sur la carte simul\xC3\xA9" "e.</p>"
              "<p>Avec Qt " +
                  std::string(qVersion()) + ".</p>");
    const QList<QAction*> help = Window().Menus()->actions().back()->menu()->actions();
    help.at(2)->trigger();  // after the help page and a separator
    auto* box = Window().findChild<QMessageBox*>(QStringLiteral("apropos"));
    ASSERT_NE(box, nullptr);
    EXPECT_TRUE(box->isVisible());
    EXPECT_EQ(box->windowTitle().toStdString(), "\xC3\x80 propos de tarvic-banc-fenetre");
    EXPECT_EQ(box->text(), window::AboutText());
    box->close();
}
