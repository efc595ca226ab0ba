#include "engine/run/FrequencySweep.h"

#include <cmath>
#include <utility>

#include "engine/analysis/BodeModel.h"
#include "engine/analysis/FrequencyJudge.h"
#include "engine/model/ProfileScope.h"
#include "engine/model/StagedProfile.h"
#include "engine/outputs/Results.h"
#include "engine/run/Download.h"
#include "engine/run/RestWatch.h"
#include "engine/run/RunPlan.h"

namespace banc {
namespace {

// A frequency's recording is read and forgotten after each turn, while the
// card records on: a turn fetches this many blocks at most, so that a card
// making blocks faster than the link carries them never holds the sweep up.
constexpr int kBlocksPerTurn = 8;
constexpr char kOnePass = 'O';
// The card's count of its samples since the loop's start, its low 16 bits.
constexpr int kSampleCount = 'c';
constexpr int kCounterSpan = 0x10000;
// The full command of the motorised benches, card units.
constexpr double kFullCardCommand = 1024;
constexpr const char* kSaturated = "commande satur\xE9" "e";

// What the generator's level fields hold for `percent` of the command.
float GeneratorLevel(const CGeneFonction& generator, double percent)
{
    return static_cast<float>(generator.TestSynum() ? percent * kFullCardCommand / 100 : percent);
}

// A recording of its own for a frequency, at its period: made on a scratch
// copy of the profile, so that the user's keeps the recording's settings.
std::unique_ptr<CEnregistrement> FrequencyRecording(int periodMs)
{
    const auto scratch = std::make_shared<StagedProfile>(tarvic::GetProfile());
    scratch->WriteProfileInt("ENREGISTREMENT", "NB_BLOC", kBlocksPerTurn);
    scratch->WriteProfileInt("ENREGISTREMENT", "MODE", kOnePass);
    scratch->WriteProfileInt("ENREGISTREMENT", "TEM", periodMs);
    ProfileScope scope(scratch);
    auto recording = std::make_unique<CEnregistrement>();
    recording->SetStart(true);
    return recording;
}

}  // namespace

void SweepObserver::FrequencyStarted(int, int, double) {}
void SweepObserver::FrequencyMeasured(int, int, const analysis::BodePoint&) {}

// The sweep as the experiment runs it: the rest, then each frequency's lines
// once the one before is measured.
class FrequencySweep::Plan : public RunPlan {
public:
    Plan(Elements& elements, const Settings& settings, SweepPlan plan, Experiment& experiment)
        : m_elements(elements), m_settings(settings), m_plan(std::move(plan)), m_experiment(experiment),
          m_curves(CurvesOf(settings, elements)), m_cardPeriod(elements.generator->TE / 1000.0)
    {
    }

    void SetObserver(SweepObserver* observer) { m_observer = observer; }
    void SetSpeed(double speed) { m_speed = speed; }
    void SetPollInterval(std::chrono::milliseconds interval) { m_interval = interval; }

    std::vector<std::string> RestConfiguration() override
    {
        // The configured run with the generator's step at the rest command.
        CGeneFonction& generator = *m_elements.generator;
        generator.SetCParam(0, CGeneFonction::Echelon);
        generator.ECHELON = generator.C_REPOS = GeneratorLevel(generator, m_plan.rest);
        generator.RETARD = 0;
        return ConfigurationLines(m_elements, m_settings);
    }

    bool RestEnough(const std::vector<float>& measure, double period) override
    {
        const RestJudgement rest = JudgeRest(measure, period);
        m_restSeconds = rest.seconds;
        return RestOver(rest, m_plan.stabilisation);
    }

    // Each frequency starts while the loop runs: the process is swept on from where the one before left it.
    RunStart RunLines() override { return {StartFrequency(), {}}; }

    bool Complete() override
    {
        ReadNewPoints();
        if (!m_judge->Judge(m_samples)) return false;
        const SweepFrequency& frequency = m_plan.frequencies[m_current];
        analysis::BodePoint point = m_judge->Point();
        // The turn of the phase nearest the model's, or the point before.
        const double near = m_plan.model       ? analysis::ModelPhaseDeg(*m_plan.model, frequency.playedHz)
                            : m_points.empty() ? 0
                                               : m_points.back().phaseDeg;
        point.phaseDeg += 360 * std::round((near - point.phaseDeg) / 360);
        if (m_plan.saturates) {
            point.trusted = false;
            point.flag = point.flag.empty() ? kSaturated : std::string(kSaturated) + ", " + point.flag;
        }
        m_points.push_back(point);
        m_cardSeconds += m_samples.times.back() - m_samples.times.front() + frequency.recordPeriodMs / 1000.0;
        const int count = static_cast<int>(m_plan.frequencies.size());
        if (m_observer) m_observer->FrequencyMeasured(static_cast<int>(m_current), count, point);
        if (++m_current == m_plan.frequencies.size()) return true;
        m_pending = StartFrequency();
        return false;
    }

    std::vector<std::string> NextLines() override { return std::exchange(m_pending, {}); }

    SweepResult Result(const Outcome& outcome) const
    {
        SweepResult result;
        result.outcome = outcome;
        result.points = m_points;
        for (std::size_t i = m_points.size(); i < m_plan.frequencies.size(); ++i)
            result.missingHz.push_back(m_plan.frequencies[i].playedHz);
        result.measureUnit = m_curves.measureUnit.unit;
        result.model = m_plan.model;
        result.cardSeconds = m_restSeconds + m_cardSeconds;
        return result;
    }

private:
    // The sine of the current frequency played from its start, then its own recording started.
    std::vector<std::string> StartFrequency()
    {
        const SweepFrequency& frequency = m_plan.frequencies[m_current];
        CGeneFonction& generator = *m_elements.generator;
        generator.FREQUENCE = static_cast<float>(frequency.askedHz);
        generator.AMPLITUDE = GeneratorLevel(generator, m_plan.amplitude);
        generator.SetCParam(0, CGeneFonction::Sinus);
        std::vector<std::string> lines = GeneratorLines(m_elements);
        m_elements.recording = FrequencyRecording(frequency.recordPeriodMs);
        for (std::string& line : RecordingLines(m_elements)) lines.push_back(std::move(line));
        m_judge.emplace(frequency.playedHz, m_cardPeriod);
        m_samples = {};
        m_first = true;
        m_experiment.SetPollInterval(m_interval.value_or(
            Experiment::PollIntervalFor(frequency.recordPeriodMs * kPointsPerBlock / 1000.0 / m_speed)));
        if (m_observer)
            m_observer->FrequencyStarted(static_cast<int>(m_current), static_cast<int>(m_plan.frequencies.size()),
                                         frequency.playedHz);
        return lines;
    }

    // The points of the blocks acquired this turn, timed by the card's sample
    // count, so that a block the card had to drop leaves a gap rather than
    // shifting the points after it; then the blocks are forgotten, the card
    // recording on (its block numbers are echoed: the next is asked as the first).
    void ReadNewPoints()
    {
        CEnregistrement& recording = *m_elements.recording;
        const int available = recording.LitNbPoint();
        for (int i = 0; i < available; ++i) {
            const int raw = static_cast<int>(recording.LitPoint(kSampleCount, i)) & (kCounterSpan - 1);
            m_count = m_first ? raw : m_count + (raw - m_lastCount + kCounterSpan) % kCounterSpan;
            m_first = false;
            m_lastCount = raw;
            m_samples.times.push_back(static_cast<double>(m_count) * m_cardPeriod);
            m_samples.command.push_back(m_curves.command.Value(recording, i));
            m_samples.measure.push_back(m_curves.measure.Value(recording, i));
        }
        if (available > 0 || !recording.LitStart()) recording.SetStart(true);
    }

    Elements& m_elements;
    const Settings& m_settings;
    SweepPlan m_plan;
    Experiment& m_experiment;
    ExperimentCurves m_curves;
    double m_cardPeriod;  // s
    SweepObserver* m_observer = nullptr;
    double m_speed = 1;
    std::optional<std::chrono::milliseconds> m_interval;
    std::size_t m_current = 0;
    std::optional<analysis::FrequencyJudge> m_judge;
    analysis::SweepSamples m_samples;
    bool m_first = true;
    long long m_count = 0;
    int m_lastCount = 0;
    std::vector<analysis::BodePoint> m_points;
    std::vector<std::string> m_pending;
    double m_restSeconds = 0;
    double m_cardSeconds = 0;
};

FrequencySweep::FrequencySweep(Elements& elements, const Settings& settings, CardLink& link, SweepPlan plan)
    : m_experiment(elements, settings, link),
      m_plan(std::make_unique<Plan>(elements, settings, std::move(plan), m_experiment))
{
    m_experiment.SetPlan(m_plan.get());
}

FrequencySweep::~FrequencySweep() = default;

void FrequencySweep::SetObserver(SweepObserver* observer)
{
    if (observer) m_experiment.SetObserver(observer);
    m_plan->SetObserver(observer);
}

void FrequencySweep::SetLock(std::mutex* lock) { m_experiment.SetLock(lock); }

void FrequencySweep::RequestStop() { m_experiment.RequestStop(); }

void FrequencySweep::SetSpeed(double speed) { m_plan->SetSpeed(speed); }

void FrequencySweep::SetPollInterval(std::chrono::milliseconds interval) { m_plan->SetPollInterval(interval); }

SweepResult FrequencySweep::Run() { return m_plan->Result(m_experiment.Run()); }

}  // namespace banc
