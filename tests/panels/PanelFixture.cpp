#include "PanelFixture.h"

#include <QAbstractButton>
#include <QApplication>
#include <QLineEdit>
#include <QRadioButton>

#include "tarvic/platform/Profile.h"
#include "tarvic/platform/Text.h"

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
}

PanelFixture::~PanelFixture()
{
    m_panel.reset();
    tarvic::SetProfile(nullptr);
}

CPanelDlg& PanelFixture::Open(const PanelVariant& variant)
{
    m_panel = std::make_unique<CPanelDlg>(variant);
    m_panel->StartProcess();
    EXPECT_TRUE(m_panel->Process()->LitOpenPort()->Wait(3000));
    return *m_panel;
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
    const int seen = m_traces.Count("traiteRecept\n");
    m_card.Send(line);
    EXPECT_TRUE(tarvic::test::WaitUntil([&] { return m_traces.Count("traiteRecept\n") > seen; }));
}

void PanelFixture::Identify(const std::string& version)
{
    m_panel->OnTimer();
    ASSERT_EQ(NextLine(), "?VER\r\n");
    Reply("!VER" + version + "\r\n");
    ASSERT_TRUE(tarvic::test::WaitUntil([&] { return Process().LitVersion() == version; }));
    m_panel->OnTimer();
    ASSERT_TRUE(m_panel->Connecte());
    // Answer whatever the identification started until the panel falls quiet.
    for (std::string line = NextLine(); !line.empty(); line = NextLine(500)) {
        if (line[0] == '?' && line.find("LEL") != std::string::npos)
            Reply("!LEL0000000000\r\n");
        else if (line[0] == '?')
            Reply("!" + tarvic::Mid(line, 1, 3) + " 00\r\n");
        else
            Reply("!OK\r\n");
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

QAbstractButton* PanelFixture::Control(int id)
{
    return m_panel->findChild<QAbstractButton*>(QString::number(id));
}

std::string PanelFixture::Text(int id)
{
    auto* edit = m_panel->findChild<QLineEdit*>(QString::number(id));
    return edit ? edit->text().toLatin1().toStdString() : "<no edit " + std::to_string(id) + ">";
}
