#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "engine/model/Elements.h"
#include "engine/model/Settings.h"
#include "engine/outputs/Results.h"
#include "runtime/BenchCard.h"
#include "support/ScriptedCard.h"
#include "tarvic/platform/MemoryProfile.h"

namespace banc::test {

// An experiment of the console's engine on the simulated card, in the card's
// simulated time: the configuration the console downloads, the loop's start,
// the whole recording, then its blocks fetched as the console fetches them.
class SimulatedRun {
public:
    // Configures the elements in a fresh profile; `settings` must outlive the run.
    explicit SimulatedRun(const Settings& settings);

    // "" when configured, else the engine's message.
    const std::string& Error() const { return m_error; }
    const std::vector<std::string>& Lines() const { return m_lines; }
    // Every configuration line's reply that was not "!OK".
    const std::vector<std::string>& Refusals() const { return m_refusals; }
    // Runs the card for the whole recording and fetches every block.
    void Run();

    cardsim::BenchCard& Card() { return *m_card; }
    const Elements& GetElements() const { return m_elements; }
    // The points of a curve of the experiment, in its unit.
    std::vector<float> Values(const Curve& curve) const;
    ExperimentCurves Curves() const;
    double PeriodSeconds() const;

private:
    std::string Exchange(char prefix, const std::string& text);

    const Settings& m_settings;
    std::shared_ptr<tarvic::MemoryProfile> m_profile;
    Elements m_elements;
    std::unique_ptr<cardsim::BenchCard> m_card;
    std::string m_error;
    std::vector<std::string> m_lines;
    std::vector<std::string> m_refusals;
};

// The simulated card at the far end of a pseudo-terminal, for the engine's
// own experiments: its time moves on by `turn` at each read-back of the
// controller ("AVS", "ACO"), which the engine asks once a turn of its polling,
// so that a run goes through it in the card's time, the same every time.
class SimulatedCardPeer {
public:
    SimulatedCardPeer(const char* bench, double noisePercent, std::uint32_t seed, cardsim::SimDuration turn);

    const std::string& Path() const { return m_peer.Path(); }
    std::vector<std::string> Lines() const { return m_peer.Lines(); }
    // The orders received (lines beginning with '!') from the first one equal to `from` on.
    std::vector<std::string> OrdersFrom(const std::string& from) const;
    // Called with each line received, before the card answers it (on the card's thread).
    void OnLine(std::function<void(const std::string&)> watch) { m_watch = std::move(watch); }

private:
    std::unique_ptr<cardsim::BenchCard> m_card;
    cardsim::SimDuration m_turn;
    std::function<void(const std::string&)> m_watch;
    tarvic::test::ScriptedCard m_peer;
};

}  // namespace banc::test
