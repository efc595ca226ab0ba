#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <initializer_list>
#include <memory>
#include <string>
#include <vector>

#include "runtime/BenchCard.h"
#include "tarvic/control/Tor.h"
#include "tarvic/elements/EidElement.h"
#include "tarvic/platform/MemoryProfile.h"

namespace cardsim::test {

// A bench's card in simulated time, and a profile in which the library's
// elements of that bench are built, holding the bench's factory settings.
class BenchCardTest : public ::testing::Test {
protected:
    void TearDown() override;

    // The card of `bench` (cardsim's name) and the profile of process `letter` in `mode`.
    void Open(const std::string& bench, char letter, int mode, double noise = 0);
    void Open(std::unique_ptr<Bench> bench, char letter, int mode);

    std::string Order(const std::string& text) { return m_card->Execute("!" + text); }
    std::string Query(const std::string& text) { return m_card->Execute("?" + text); }
    // Sends the element's configuration sequence; the card must take every line.
    void Download(CEidElement& element);
    // A single command of an element, which the card must take.
    void Send(CEidElement& element, int code);
    // The on/off controller with these thresholds, its command routed to the
    // bench's actuator and its feedback the bench's choice `feedback`, downloaded with its wiring.
    void DownloadOnOff(CTor& tor, float negative, float positive, char feedback);
    void Run(double seconds)
    {
        m_card->Advance(std::chrono::duration_cast<SimDuration>(std::chrono::duration<double>(seconds)));
    }
    // One sample period of the card.
    void Step() { m_card->Advance(m_card->GetLoop().Period()); }

    BenchCard& Card() { return *m_card; }
    tarvic::MemoryProfile& Profile() { return *m_profile; }

private:
    std::shared_ptr<tarvic::MemoryProfile> m_profile;
    std::unique_ptr<BenchCard> m_card;
};

// The signed fixed-width hexadecimal fields of a reply from `start` on.
std::vector<std::int32_t> Fields(const std::string& reply, std::size_t start, std::initializer_list<int> widths);

// Percent of an analog bench's input counts over the 4-20 mA range.
double InputPercent(std::int32_t counts);

}  // namespace cardsim::test
