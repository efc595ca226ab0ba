#pragma once

#include <memory>
#include <set>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "common/PanelDlg.h"
#include "support/PtyPeer.h"
#include "support/TraceCapture.h"
#include "tarvic/platform/MemoryProfile.h"

class QAbstractButton;

// A panel on one end of a pseudo-terminal and a scripted card on the other.
// The tests run the timer cycle by hand, so each cycle is one call.
class PanelFixture : public ::testing::Test {
protected:
    PanelFixture();
    ~PanelFixture() override;

    // Builds the panel for `variant` and starts its process on the pty.
    CPanelDlg& Open(const PanelVariant& variant);
    CProcess& Process() { return *m_panel->Process(); }

    // The next line the panel writes, CR LF included ("" after that much silence).
    std::string NextLine(int timeoutMs = 3000);
    // Everything the panel writes within `ms`, after the lines already taken.
    std::string Silence(int ms = 300);
    // Sends a reply and waits until the process has seen it.
    void Reply(const std::string& line);

    // Cycles and replies until the card has identified itself and the panel
    // shows it; the lines written meanwhile are consumed.
    void Identify(const std::string& version = " 1.0");

    // Queue contents as "text|sent" strings, head first.
    std::vector<std::string> Queue();
    std::set<int> CheckedIndicators();
    QAbstractButton* Control(int id);
    std::string Text(int id);

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
