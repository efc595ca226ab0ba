#include "PanelFixture.h"

#include <algorithm>
#include <atomic>
#include <mutex>

#include <QAbstractButton>
#include <QApplication>
#include <QLineEdit>
#include <QRadioButton>

#include "tarvic/platform/Profile.h"
#include "tarvic/platform/Text.h"

namespace {

std::atomic<long> g_checks{0};
std::mutex g_violationMutex;
std::vector<std::string> g_violations;

// Called under the process's queue lock at each change: no line may wait unsent twice.
void CheckQueue(const std::list<std::unique_ptr<CMessage>>& file)
{
    ++g_checks;
    for (auto first = file.begin(); first != file.end(); ++first) {
        if ((*first)->m_envoye != 0) continue;
        for (auto other = std::next(first); other != file.end(); ++other) {
            if ((*other)->m_envoye != 0 || (*other)->m_texte != (*first)->m_texte) continue;
            std::lock_guard lock(g_violationMutex);
            g_violations.push_back((*first)->m_texte);
        }
    }
}

int LineCount(const std::string& bytes)
{
    int count = 0;
    for (auto at = bytes.find("\r\n"); at != std::string::npos; at = bytes.find("\r\n", at + 2)) ++count;
    return count;
}

}  // namespace

void EnsureApplication()
{
    static int argc = 1;
    static char name[] = "test_panels";
    static char* argv[] = {name, nullptr};
    static QApplication application(argc, argv);
}

PanelFixture::PanelFixture() : m_profile(std::make_shared<tarvic::MemoryProfile>())
{
    EnsureApplication();
    m_profile->WriteProfileString("CONFIGURATION", "PORT", m_card.SlavePath());
    tarvic::SetProfile(m_profile);
    g_checks = 0;
    {
        std::lock_guard lock(g_violationMutex);
        g_violations.clear();
    }
    SetProcessHooks({.queueChanged = &CheckQueue});
}

PanelFixture::~PanelFixture()
{
    m_panel.reset();
    SetProcessHooks({});  // nothing of this test's may run in the next one
    tarvic::SetProfile(nullptr);
}

void PanelFixture::TearDown()
{
    // The process's threads end first: their last queue changes count as well.
    m_panel.reset();
    std::lock_guard lock(g_violationMutex);
    EXPECT_TRUE(g_violations.empty()) << "a second unsent copy of " << g_violations.front();
}

long PanelFixture::QueueChecks() { return g_checks; }

void PanelFixture::SetEnvoiStep(void (*step)(CProcess& process, EnvoiStep step))
{
    SetProcessHooks({.queueChanged = &CheckQueue, .envoiStep = step});
}

CPanelDlg& PanelFixture::Open(const PanelVariant& variant, LinkTimings timings)
{
    m_panel = std::make_unique<CPanelDlg>(variant);
    m_panel->SetTimings(timings);
    m_panel->StartProcess();
    EXPECT_TRUE(m_panel->Process()->LitOpenPort()->Wait(3000));
    return *m_panel;
}

CPanelDlg& PanelFixture::OpenOn(const std::string& port, const PanelVariant& variant, LinkTimings timings)
{
    m_profile->WriteProfileString("CONFIGURATION", "PORT", port);
    m_panel = std::make_unique<CPanelDlg>(variant);
    m_panel->SetTimings(timings);
    m_panel->StartProcess();
    return *m_panel;
}

bool PanelFixture::PortOpens()
{
    return tarvic::test::WaitUntil([&] { return Process().hcom.IsOpen(); });
}

void PanelFixture::ExpectPromptClose()
{
    tarvic::test::TraceCapture stop;
    m_panel->StopProcess();
    EXPECT_EQ(stop.Count("thread stop==false\n"), 0);
    EXPECT_EQ(stop.Count("fin process com\n"), 1);
    EXPECT_EQ(stop.Count(std::string("\nQuitter process ") + m_panel->Variant().name + "\n"), 1);
}

std::string PanelFixture::NextLine(int timeoutMs)
{
    auto end = m_received.find("\r\n");
    if (end == std::string::npos) {
        m_received += m_card.ReceiveUntil("\r\n", std::chrono::milliseconds(timeoutMs));
        // The terminator may have come with more bytes behind it.
        end = m_received.find("\r\n");
        if (end == std::string::npos) return std::exchange(m_received, {});
    }
    std::string line = tarvic::Mid(m_received, 0, static_cast<std::ptrdiff_t>(end + 2));
    m_received.erase(0, end + 2);
    return line;
}

std::string PanelFixture::Silence(int ms)
{
    m_received += m_card.ReceiveFor(std::chrono::milliseconds(ms));
    return std::exchange(m_received, {});
}

void PanelFixture::Reply(const std::string& line)
{
    const long handled = Stats().recues + LineCount(line);
    m_card.Send(line);
    EXPECT_TRUE(tarvic::test::WaitUntil([&] { return Stats().recues >= handled; }));
}

void PanelFixture::Identify(const std::string& version)
{
    m_panel->OnTimer();
    ASSERT_EQ(NextLine(), "?VER\r\n");
    const long sent = Stats().envoyees;
    Reply("!VER" + version + "\r\n");
    ASSERT_EQ(Process().LitVersion(), version);
    // The next cycle comes once the answered line has gone and the next is out.
    ASSERT_TRUE(tarvic::test::WaitUntil([&] { return Queue().empty() || Stats().envoyees > sent; }));
    m_panel->OnTimer();
    ASSERT_TRUE(m_panel->Connecte());
    AnswerUntilIdle();
}

void PanelFixture::AnswerUntilIdle()
{
    while (!Queue().empty()) {
        const std::string line = NextLine();
        ASSERT_FALSE(line.empty()) << "the queue holds a line that never goes out";
        // Its write was counted before it went out.
        const long sent = Stats().envoyees;
        if (line[0] == '?' && line.find("LEL") != std::string::npos)
            Reply("!LEL0000000000\r\n");
        else if (line[0] == '?')
            Reply("!" + tarvic::Mid(line, 1, 3) + " 00\r\n");
        else
            Reply("!OK\r\n");
        // The answered line leaves the queue, and the next one, if any, goes out.
        ASSERT_TRUE(tarvic::test::WaitUntil([&] { return Queue().empty() || Stats().envoyees > sent; }));
    }
}

std::vector<std::string> PanelFixture::Queue()
{
    std::vector<std::string> texts;
    for (const CMessage& message : Process().LitFile())
        texts.push_back(message.m_texte + (message.m_envoye ? "|sent" : "|waiting"));
    return texts;
}

std::set<int> PanelFixture::CheckedIndicators()
{
    std::set<int> ids;
    for (auto* radio : m_panel->findChildren<QRadioButton*>())
        if (radio->isChecked()) ids.insert(radio->objectName().toInt());
    return ids;
}

std::size_t PanelFixture::LiveIndicators()
{
    const auto radios = m_panel->findChildren<QRadioButton*>();
    return static_cast<std::size_t>(
        std::count_if(radios.begin(), radios.end(), [](auto* radio) { return radio->isEnabled(); }));
}

QAbstractButton* PanelFixture::Control(int id) { return m_panel->findChild<QAbstractButton*>(QString::number(id)); }

std::string PanelFixture::Text(int id)
{
    auto* edit = m_panel->findChild<QLineEdit*>(QString::number(id));
    return edit ? edit->text().toLatin1().toStdString() : "<no edit " + std::to_string(id) + ">";
}

std::string PanelFixture::Status()
{
    auto* edit = m_panel->findChild<QLineEdit*>(QString::number(m_panel->Variant().statusId));
    return edit ? edit->text().toStdString() : "<no status line>";
}
