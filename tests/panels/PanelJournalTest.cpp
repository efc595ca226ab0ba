// The traffic journal: its window, its counts, its logging category.
#include <mutex>

#include <QAbstractButton>
#include <QAction>
#include <QLoggingCategory>
#include <QRegularExpression>

#include "PanelFixture.h"
#include "common/JournalDlg.h"
#include "varnok/VarnokVariant.h"

namespace {

using Lines = std::vector<std::string>;

// The journal window's lines without their time stamps, which must all be there.
Lines Untimed(const QString& text)
{
    static const QRegularExpression stamped(QStringLiteral(R"(^\d\d:\d\d:\d\d\.\d\d\d ([<>*] .*)$)"));
    Lines lines;
    for (const QString& line : text.split(QLatin1Char('\n'), Qt::SkipEmptyParts)) {
        const QRegularExpressionMatch match = stamped.match(line);
        lines.push_back(match.hasMatch() ? match.captured(1).toLatin1().toStdString()
                                         : "unstamped: " + line.toLatin1().toStdString());
    }
    return lines;
}

QAction* JournalAction(CPanelDlg& panel)
{
    for (QAction* action : panel.actions())
        if (action->shortcut() == QKeySequence(Qt::CTRL | Qt::Key_J)) return action;
    return nullptr;
}

using PanelJournal = PanelFixture;

TEST_F(PanelJournal, CtrlJShowsEveryLineWithItsTimeAndTheCounts)
{
    Open(VarnokVariant());
    Identify(" 2.1");
    Control(1002)->click();
    ASSERT_EQ(NextLine(), "!ESR 8000\r\n");
    Reply("!Erreur\r\n");

    // In the window's own menu, with its shortcut.
    EXPECT_EQ(m_panel->contextMenuPolicy(), Qt::ActionsContextMenu);
    QAction* journal = JournalAction(*m_panel);
    ASSERT_NE(journal, nullptr);
    EXPECT_EQ(journal->text(), QString::fromLatin1("&Journal des \xE9" "changes..."));
    EXPECT_EQ(m_panel->actions().size(), 2);  // and the about box
    journal->trigger();
    CJournalDlg* window = m_panel->JournalWindow();
    ASSERT_NE(window, nullptr);
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(window->windowTitle(), QString::fromLatin1("Journal des \xE9" "changes - Varnok"));
    EXPECT_EQ(Untimed(window->Lignes()), (Lines{"> ?VER", "< !VER 2.1", "> ?LEL", "< !LEL0000000000", "> !EMD 1",
                                                "< !OK", "> ?LEL", "< !LEL0000000000", "> !ESR 8000", "< !Erreur"}));
    EXPECT_EQ(window->Compteurs(),
              QString::fromLatin1("Lignes envoy\xE9" "es : 5   R\xE9ponses : 5 (dont Erreur : 1)   "
                                  "D\xE9lais d\xE9pass\xE9s : 0   Renvois : 0   Reconnexions : 0"));

    // Refreshed with what came since, nothing twice.
    m_panel->OnTimer();
    ASSERT_EQ(NextLine(), "?LEL\r\n");
    Reply("!LEL1234 02\r\n");
    window->MisAJour();
    EXPECT_EQ(Untimed(window->Lignes()).size(), 12u);
    EXPECT_EQ(Untimed(window->Lignes()).back(), "< !LEL1234 02");
}

TEST_F(PanelJournal, CountsTimeOutsAndResendsAndNotesTheDrop)
{
    Open(VarnokVariant(), kQuickTimings);
    ASSERT_TRUE(CycleUntil([&] { return Stats().delais == 3; }));
    const auto stats = Stats();
    EXPECT_EQ(stats.renvois, 2);
    EXPECT_EQ(stats.reponses, 0);
    m_panel->OnJournal();
    const Lines lines = Untimed(m_panel->JournalWindow()->Lignes());
    ASSERT_GE(lines.size(), 4u);
    EXPECT_EQ(Lines(lines.begin(), lines.begin() + 4),
              (Lines{"> ?VER", "> ?VER", "> ?VER", "* Pas de r\xE9ponse de la carte"}));
}

TEST_F(PanelJournal, ACardThatAnswersWithAnErrorIsSaidToHaveAnswered)
{
    Open(VarnokVariant(), kQuickTimings);
    m_panel->OnTimer();
    for (int sent = 0; sent < 3; ++sent) {
        ASSERT_EQ(NextLine(), "?VER\r\n") << sent;
        Reply("!Erreur\r\n");
    }
    Lines lines;
    ASSERT_TRUE(tarvic::test::WaitUntil([&] {
        lines.clear();
        for (const auto& entree : Process().Journal()->Entrees()) lines.push_back(CJournal::Ligne(entree).substr(13));
        return lines.size() >= 7;
    }));
    EXPECT_EQ(Lines(lines.begin(), lines.begin() + 7), (Lines{"> ?VER", "< !Erreur", "> ?VER", "< !Erreur", "> ?VER",
                                                              "< !Erreur", "* La carte r\xE9pond par une erreur"}));
    m_panel->OnTimer();
    EXPECT_EQ(Status(), "La carte r\xC3\xA9pond par une erreur");

    // Once it identifies itself, the panel says so no more.
    ASSERT_EQ(NextLine(), "?VER\r\n");
    Reply("!VER 2.1\r\n");
    m_panel->OnTimer();
    EXPECT_NE(Status(), "La carte r\xC3\xA9pond par une erreur");
}

TEST(Journal, KeepsTheLatestLinesAndShowsControlBytes)
{
    CJournal journal;
    for (std::size_t i = 0; i < CJournal::kMaxEntries + 5; ++i) journal.Envoi("?LEL\r\n");
    journal.Reception(std::string("\x01!A\xE9\x7F", 5));
    const auto entries = journal.Entrees();
    ASSERT_EQ(entries.size(), CJournal::kMaxEntries);
    EXPECT_EQ(entries.front().numero, 7u);
    EXPECT_EQ(entries[0].texte, "?LEL");
    EXPECT_EQ(CJournal::Ligne(entries.back()).substr(13), "< \\x01!A\xE9\\x7F");
    EXPECT_EQ(journal.Entrees(entries.back().numero - 1).size(), 1u);
    EXPECT_EQ(journal.LitStatistiques().envoyees, static_cast<long>(CJournal::kMaxEntries + 5));
}

// What reaches Qt's message handler in the traffic category.
class TrafficMessages {
public:
    TrafficMessages() : m_previous(qInstallMessageHandler(&TrafficMessages::Handle)) { s_messages.clear(); }
    ~TrafficMessages()
    {
        qInstallMessageHandler(m_previous);
        QLoggingCategory::setFilterRules(QString());
    }
    static Lines Untimed()
    {
        std::lock_guard lock(s_mutex);
        QString text;
        for (const auto& message : s_messages) text += message + QLatin1Char('\n');
        return ::Untimed(text);
    }

private:
    static void Handle(QtMsgType, const QMessageLogContext& context, const QString& message)
    {
        if (QLatin1String(context.category) != QLatin1String("tarvic.traffic")) return;
        std::lock_guard lock(s_mutex);
        s_messages.push_back(message);
    }

    QtMessageHandler m_previous;
    static inline std::mutex s_mutex;
    static inline std::vector<QString> s_messages;
};

TEST_F(PanelJournal, TheTrafficGoesToItsLoggingCategoryOnlyWhenItIsEnabled)
{
    TrafficMessages messages;
    Open(VarnokVariant());
    Identify(" 2.1");
    EXPECT_TRUE(messages.Untimed().empty());
    QLoggingCategory::setFilterRules(QStringLiteral("tarvic.traffic.info=true"));
    m_panel->OnTimer();
    ASSERT_EQ(NextLine(), "?LEL\r\n");
    Reply("!LEL1234 02\r\n");
    EXPECT_EQ(messages.Untimed(), (Lines{"> ?LEL", "< !LEL1234 02"}));
}

}  // namespace
