#pragma once

#include <chrono>
#include <memory>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include <gtest/gtest.h>
#include <QCoreApplication>

#include "common/PanelDlg.h"
#include "support/PtyPeer.h"
#include "support/TraceCapture.h"
#include "tarvic/platform/MemoryProfile.h"

class QAbstractButton;

// Time-outs short enough for the recovery tests to go through several of them,
// long enough for a loaded machine to answer within one.
inline constexpr LinkTimings kQuickTimings{.replyTimeoutMs = 300, .reopenPeriodMs = 30};

// A panel on one end of a pseudo-terminal and a scripted card on the other.
// The tests run the timer cycle by hand, so each cycle is one call. Every
// change of every process's queue meanwhile is checked for a second unsent
// copy of a line; the test fails at its end if one was ever seen.
class PanelFixture : public ::testing::Test {
protected:
    PanelFixture();
    ~PanelFixture() override;
    void TearDown() override;

    // Builds the panel for `variant` and starts its process on the pty.
    CPanelDlg& Open(const PanelVariant& variant, LinkTimings timings = {});
    // The same on another port, which need not be open at once.
    CPanelDlg& OpenOn(const std::string& port, const PanelVariant& variant, LinkTimings timings = kQuickTimings);
    // Waits until the process has its port open: what it writes before goes nowhere.
    bool PortOpens();
    // Stops the panel and checks that it ended at once, without the stop
    // having to wait for either thread.
    void ExpectPromptClose();
    CProcess& Process() { return *m_panel->Process(); }
    CJournal::Statistiques Stats() { return Process().Journal()->LitStatistiques(); }

    // The next line the panel writes, CR LF included ("" after that much silence).
    std::string NextLine(int timeoutMs = 3000);
    // Everything the panel writes within `ms`, after the lines already taken.
    std::string Silence(int ms = 300);
    // Sends a reply and waits until the process has handled every line of it.
    void Reply(const std::string& line);

    // Cycles and replies until the card has identified itself and the panel
    // shows it; the lines written meanwhile are answered until the queue is empty.
    void Identify(const std::string& version = " 1.0");
    // Answers every line the panel writes, as a card would, until its queue is empty.
    void AnswerUntilIdle();
    // Runs the cycle by hand until `condition` holds, each cycle given `perCycle` to get there.
    template <class Condition>
    bool CycleUntil(Condition condition, int cycles = 50,
                    std::chrono::milliseconds perCycle = std::chrono::milliseconds(100))
    {
        for (int cycle = 0; cycle < cycles; ++cycle) {
            m_panel->OnTimer();
            if (tarvic::test::WaitUntil(condition, perCycle)) return true;
        }
        return false;
    }

    // Queue contents as "text|sent" strings, head first.
    std::vector<std::string> Queue();
    // How many queue changes were checked since the test began.
    static long QueueChecks();
    // Lets `step` run at the sending thread's steps until the test ends.
    static void SetEnvoiStep(void (*step)(CProcess& process, EnvoiStep step));
    std::set<int> CheckedIndicators();
    // The indicators not greyed: read as the station's present state.
    std::size_t LiveIndicators();
    bool Lit(int indicator) { return CheckedIndicators().count(indicator) == 1; }
    QAbstractButton* Control(int id);
    std::string Text(int id);
    // The status line's text as the user reads it (UTF-8).
    std::string Status();

    tarvic::test::PtyPeer m_card;
    std::shared_ptr<tarvic::MemoryProfile> m_profile;
    tarvic::test::TraceCapture m_traces;
    std::unique_ptr<CPanelDlg> m_panel;

private:
    std::string m_received;
};

// Parameterised panel tests print their station's name, not an address.
inline void PrintTo(const PanelVariant* variant, std::ostream* os) { *os << variant->name; }

// The application object every widget needs, made once for the program.
void EnsureApplication();

// Runs the event loop (and so timer 1, and what other threads hand over) until the condition holds.
template <class Condition>
bool SpinUntil(Condition condition, std::chrono::milliseconds timeout = std::chrono::milliseconds(10000))
{
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    while (!condition()) {
        if (std::chrono::steady_clock::now() >= deadline) return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return true;
}
