#include "SimulatedRun.h"

#include <chrono>

#include "engine/run/Download.h"
#include "engine/run/Setup.h"
#include "plants/Benches.h"

namespace banc::test {

SimulatedRun::SimulatedRun(const Settings& settings)
    : m_settings(settings), m_profile(std::make_shared<tarvic::MemoryProfile>())
{
    m_error = Configure(m_settings, m_profile, m_elements).error;
    if (!m_error.empty()) return;
    m_card = std::make_unique<cardsim::BenchCard>(cardsim::MakeBench(settings.bench->name, 1, 0));
    m_lines = ConfigurationLines(m_elements, m_settings);
    for (const auto& line : m_lines)
        if (std::string reply = Exchange('!', line); reply != "!OK") m_refusals.push_back(line + " -> " + reply);
}

std::string SimulatedRun::Exchange(char prefix, const std::string& text)
{
    return m_card->Execute(std::string(1, prefix) + text);
}

void SimulatedRun::Run()
{
    CEnregistrement& recording = *m_elements.recording;
    recording.SetStart(true);
    if (std::string reply = Exchange('!', LoopLine(m_elements, m_settings, true)); reply != "!OK")
        m_refusals.push_back("start -> " + reply);
    // The card keeps every block until it is fetched: the whole recording first, a second more.
    const double seconds = PeriodSeconds() * kPointsPerBlock * recording.LitParam(2) + 1;
    m_card->Advance(std::chrono::duration_cast<cardsim::SimDuration>(std::chrono::duration<double>(seconds)));
    // As the console polls: the status of the next block, then the block once it is ready.
    for (int turn = 0; recording.LitStart() && turn < 4 * kMaxBlocks; ++turn) {
        const std::string request = recording.LitParam(1) == 1 ? recording.LitBloc() : recording.DmdMesure(0);
        if (request.empty()) break;
        recording.TraitRecept(Exchange('?', request));
    }
    Exchange('!', LoopLine(m_elements, m_settings, false));
}

SimulatedCardPeer::SimulatedCardPeer(const char* bench, double noisePercent, std::uint32_t seed,
                                     cardsim::SimDuration turn)
    : m_card(std::make_unique<cardsim::BenchCard>(cardsim::MakeBench(bench, seed, noisePercent))), m_turn(turn),
      m_peer([this](const std::string& line) -> std::optional<std::string> {
          if (m_watch) m_watch(line);
          if (line == "?AVS" || line == "?ACO") m_card->Advance(m_turn);
          return m_card->Execute(line);
      })
{
}

std::vector<std::string> SimulatedCardPeer::OrdersFrom(const std::string& from) const
{
    std::vector<std::string> orders;
    for (const std::string& line : m_peer.LinesFrom(from))
        if (line.rfind("!", 0) == 0) orders.push_back(line);
    return orders;
}

std::vector<float> SimulatedRun::Values(const Curve& curve) const
{
    std::vector<float> values;
    for (int i = 0; i < m_elements.recording->LitNbPoint(); ++i)
        values.push_back(curve.Value(*m_elements.recording, i));
    return values;
}

ExperimentCurves SimulatedRun::Curves() const { return CurvesOf(m_settings, m_elements); }

double SimulatedRun::PeriodSeconds() const { return PeriodMs(*m_elements.recording) / 1000.0; }

}  // namespace banc::test
