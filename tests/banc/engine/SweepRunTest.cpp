#include <gtest/gtest.h>

#include <atomic>
#include <cmath>
#include <complex>
#include <cstdio>
#include <numbers>

#include "BancTestSupport.h"
#include "CardAnswer.h"
#include "engine/link/CardLink.h"
#include "engine/run/FrequencySweep.h"
#include "plants/Benches.h"
#include "runtime/BenchCard.h"
#include "support/ScriptedCard.h"
#include "support/TraceCapture.h"

using namespace std::chrono_literals;
using namespace banc;

namespace {

constexpr double kPi = std::numbers::pi;

// The air flow bench's temperature (the protocol page's plant), the fan off:
// 40 K x c / 100 of rise, 0.4 K a % of heater or 0.4 / 60 of the 20-80 degC
// span; a lag of 20 s after a transport of 1.5 s.
constexpr double kHeaterGain = 0.4 / 60 * 100;
constexpr double kHeaterLag = 20, kTransport = 1.5;

std::complex<double> HeaterTransfer(double hz)
{
    const std::complex<double> s(0, 2 * kPi * hz);
    return kHeaterGain * std::exp(-s * kTransport) / (1.0 + s * kHeaterLag);
}

// The simulated card behind a pseudo-terminal, its time moving on by `turn`
// at each read-back of the open loop's command, once a turn of the polling;
// silent from the `silentAt`-th sine played on (0: never).
class SweepCard {
public:
    SweepCard(const char* bench, double noise, cardsim::SimDuration turn, int silentAt = 0)
        : m_card(cardsim::MakeBench(bench, 1, noise)),
          m_peer([this, turn, silentAt](const std::string& line) -> std::optional<std::string> {
              if (line == "!DSR") ++m_sines;
              if (silentAt > 0 && m_sines >= silentAt) return std::nullopt;
              if (line == "?ACO") m_card.Advance(turn);
              return m_card.Execute(line);
          })
    {
    }
    const std::string& Path() const { return m_peer.Path(); }

private:
    cardsim::BenchCard m_card;
    std::atomic<int> m_sines{0};
    tarvic::test::ScriptedCard m_peer;
};

// Stops the sweep once `after` frequencies are measured, as Ctrl-C would.
class Progress : public SweepObserver {
public:
    explicit Progress(int stopAfter = 0) : m_stopAfter(stopAfter) {}
    void FrequencyStarted(int index, int count, double hz) override { started.push_back({index, count, hz}); }
    void FrequencyMeasured(int index, int, const analysis::BodePoint&) override
    {
        measured.push_back(index);
        if (m_stopAfter > 0 && index + 1 == m_stopAfter && sweep) sweep->RequestStop();
    }
    struct Start {
        int index, count;
        double hz;
    };
    std::vector<Start> started;
    std::vector<int> measured;
    FrequencySweep* sweep = nullptr;

private:
    int m_stopAfter;
};

class SweepRunTest : public ::testing::Test {
protected:
    void Configure(const char* bench, const char* command, const char* measure)
    {
        m_settings = banc::test::MakeSettings(bench, "bo");
        m_settings.factory = true;
        if (command) m_settings.command = FindCommand(*m_settings.bench, command);
        m_settings.measure = FindMeasure(*m_settings.bench, measure);
        ASSERT_EQ(banc::Configure(m_settings, std::make_shared<tarvic::MemoryProfile>(), m_elements).error, "");
    }
    SweepResult Sweep(SweepCard& card, const SweepRequest& request, Progress& progress, LinkTiming timing = {2s, 3})
    {
        const SweepPlan plan = PlanSweep(request, m_settings, m_elements, std::nullopt);
        EXPECT_EQ(plan.refusal, "");
        CardLink link(card.Path(), timing);
        EXPECT_TRUE(link.Open());
        FrequencySweep sweep(m_elements, m_settings, link, plan);
        progress.sweep = &sweep;
        sweep.SetObserver(&progress);
        sweep.SetPollInterval(0ms);
        return sweep.Run();
    }

    tarvic::test::TraceCapture m_quiet;
    Settings m_settings;
    Elements m_elements;
};

// The worst gain (relative) and phase (degrees) errors of the points against the transfer.
struct Errors {
    double gain = 0, phase = 0;
};
template <typename Transfer>
Errors WorstErrors(const std::vector<analysis::BodePoint>& points, Transfer transfer)
{
    Errors worst;
    for (const analysis::BodePoint& point : points) {
        const std::complex<double> expected = transfer(point.frequencyHz);
        const double phase = std::arg(expected) * 180 / kPi;
        worst.gain = std::max(worst.gain, std::abs(point.gain / std::abs(expected) - 1));
        worst.phase = std::max(worst.phase, std::abs(std::remainder(point.phaseDeg - phase, 360.0)));
    }
    return worst;
}

}  // namespace

TEST_F(SweepRunTest, TheAirFlowsTemperatureFollowsItsTransferWithoutNoise)
{
    // Twelve frequencies from 0.1 / 20 to 10 / 20 rad/s around a heater at 50 %, 10 % of sine.
    Configure("debitair", "chauffage", "temperature");
    SweepCard card("debitair", 0, 10s);
    Progress progress;
    SweepRequest request;
    request.lowHz = 0.1 / kHeaterLag / (2 * kPi);
    request.highHz = 10 / kHeaterLag / (2 * kPi);
    const SweepResult result = Sweep(card, request, progress);
    EXPECT_EQ(result.outcome.status, Outcome::Status::Finished) << result.outcome.message;
    ASSERT_EQ(result.points.size(), 12u);
    EXPECT_TRUE(result.missingHz.empty());
    for (const analysis::BodePoint& point : result.points) EXPECT_TRUE(point.trusted) << point.flag;
    const Errors worst = WorstErrors(result.points, HeaterTransfer);
    EXPECT_LT(worst.gain, 0.02);
    EXPECT_LT(worst.phase, 3);
    std::printf("air flow, no noise: worst gain %.2f %%, phase %.2f deg, %.0f s of the card\n", worst.gain * 100,
                worst.phase, result.cardSeconds);
    ASSERT_EQ(progress.started.size(), 12u);
    EXPECT_EQ(progress.measured.size(), 12u);
    EXPECT_EQ(progress.started[11].index, 11);
    EXPECT_EQ(progress.started[11].count, 12);
}

TEST_F(SweepRunTest, TheAirFlowsTemperatureFollowsItsTransferThroughOnePercentOfNoise)
{
    Configure("debitair", "chauffage", "temperature");
    SweepCard card("debitair", 1, 10s);
    Progress progress;
    SweepRequest request;
    request.lowHz = 0.1 / kHeaterLag / (2 * kPi);
    request.highHz = 10 / kHeaterLag / (2 * kPi);
    const SweepResult result = Sweep(card, request, progress);
    EXPECT_EQ(result.outcome.status, Outcome::Status::Finished) << result.outcome.message;
    ASSERT_EQ(result.points.size(), 12u);
    for (const analysis::BodePoint& point : result.points) EXPECT_TRUE(point.trusted) << point.flag;
    const Errors worst = WorstErrors(result.points, HeaterTransfer);
    EXPECT_LT(worst.gain, 0.05);
    EXPECT_LT(worst.phase, 5);
    std::printf("air flow, 1 %% noise: worst gain %.2f %%, phase %.2f deg, %.0f s of the card\n", worst.gain * 100,
                worst.phase, result.cardSeconds);
}

TEST_F(SweepRunTest, TheWaterLevelsFirstTankIsALagOfAMinuteAroundHalfFull)
{
    // Around 50 %, the first tank: dh/dt = u / 30 - h / 60, a gain of 2 and a lag of 60 s;
    // 5 % of pump keeps its level within 10 % of half, where the drain's square root is nearly straight.
    Configure("niveaueau", nullptr, "niveau1");
    SweepCard card("niveaueau", 0, 20s);
    Progress progress;
    SweepRequest request;
    request.lowHz = 0.3 / 60 / (2 * kPi);
    request.highHz = 10 / 60.0 / (2 * kPi);
    request.points = 4;
    request.amplitude = 5;
    const SweepResult result = Sweep(card, request, progress);
    EXPECT_EQ(result.outcome.status, Outcome::Status::Finished) << result.outcome.message;
    ASSERT_EQ(result.points.size(), 4u);
    const auto tank = [](double hz) { return 2.0 / (1.0 + std::complex<double>(0, 2 * kPi * hz * 60)); };
    const Errors worst = WorstErrors(result.points, tank);
    EXPECT_LT(worst.gain, 0.03);
    EXPECT_LT(worst.phase, 3);
    std::printf("water level: worst gain %.2f %%, phase %.2f deg, %.0f s of the card\n", worst.gain * 100, worst.phase,
                result.cardSeconds);
}

TEST_F(SweepRunTest, ACardGoneSilentKeepsThePointsMeasuredAndNamesTheMissing)
{
    // Silent from the third frequency's sine on: two points kept, four missing.
    Configure("debitair", "chauffage", "temperature");
    SweepCard card("debitair", 0, 10s, 3);
    Progress progress;
    SweepRequest request;
    request.lowHz = 0.01;
    request.highHz = 0.08;
    request.points = 6;
    const SweepPlan plan = PlanSweep(request, m_settings, m_elements, std::nullopt);
    ASSERT_EQ(plan.frequencies.size(), 6u);
    const SweepResult result = Sweep(card, request, progress, {100ms, 2});
    EXPECT_EQ(result.outcome.status, Outcome::Status::Silent);
    EXPECT_EQ(result.outcome.message,
              "La carte ne r\xE9pond plus : \xAB DSR \xBB envoy\xE9 2 fois, chaque fois sans r\xE9ponse au bout de "
              "0,1 s (0,2 s en tout).");
    ASSERT_EQ(result.points.size(), 2u);
    EXPECT_DOUBLE_EQ(result.points[0].frequencyHz, plan.frequencies[0].playedHz);
    EXPECT_DOUBLE_EQ(result.points[1].frequencyHz, plan.frequencies[1].playedHz);
    const Errors worst = WorstErrors(result.points, HeaterTransfer);
    EXPECT_LT(worst.gain, 0.02);
    EXPECT_LT(worst.phase, 3);
    ASSERT_EQ(result.missingHz.size(), 4u);
    for (int i = 0; i < 4; ++i) EXPECT_DOUBLE_EQ(result.missingHz[i], plan.frequencies[2 + i].playedHz);
}

TEST_F(SweepRunTest, AStopKeepsThePointsMeasuredAndNamesTheMissing)
{
    Configure("debitair", "chauffage", "temperature");
    SweepCard card("debitair", 0, 10s);
    Progress progress(3);
    SweepRequest request;
    request.lowHz = 0.01;
    request.highHz = 0.08;
    request.points = 6;
    const SweepResult result = Sweep(card, request, progress);
    EXPECT_EQ(result.outcome.status, Outcome::Status::Interrupted);
    EXPECT_EQ(result.outcome.message, "Essai interrompu.");
    EXPECT_EQ(result.points.size(), 3u);
    EXPECT_EQ(result.missingHz.size(), 3u);
    EXPECT_EQ(progress.measured, (std::vector<int>{0, 1, 2}));
}
