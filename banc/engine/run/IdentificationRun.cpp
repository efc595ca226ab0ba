#include "engine/run/IdentificationRun.h"

#include <algorithm>
#include <cmath>

#include <tarvic/platform/Text.h>

#include "engine/analysis/StepAnalysis.h"
#include "engine/lab/RecordedResponse.h"
#include "engine/outputs/Results.h"
#include "engine/run/Download.h"

namespace banc {
namespace {

// The generator's sequence: its step value, its rest value.
constexpr int kStepLine = 1, kRestLine = 3;
// Points at rest before the step in the recording: a block.
constexpr int kPointsBeforeStep = kPointsPerBlock;
// The delay's field is 16-bit milliseconds.
constexpr int kLongestDelayMs = 0xFFFF;
// After the response is first seen settled, a quarter more of it is recorded,
// so that the fit sees its final value held.
constexpr double kSettledMargin = 0.25;
// The step figures see a response settled when every point of its tail lies
// in a band of 5 % of its change: a noisy measurement is judged on the means
// of groups of points, which bring the noise seen at rest down to a quarter
// of the band (a point beyond it once in 16,000), a block at most.
constexpr double kNoiseInBand = 4;
constexpr int kLargestGroup = kPointsPerBlock;

// The record with `group` points made one: the command as it stands at the
// group's last point, so that its step stays a step; the measurement's mean.
StepFigures GroupedStep(const analysis::StepRecord& record, int group)
{
    std::vector<float> command, measure;
    for (std::size_t from = 0; from + group <= record.measure.size(); from += group) {
        double sum = 0;
        for (int k = 0; k < group; ++k) sum += record.measure[from + k];
        command.push_back(static_cast<float>(record.command[from + group - 1]));
        measure.push_back(static_cast<float>(sum / group));
    }
    return AnalyseStep(command, measure, static_cast<float>(record.period * group), OvershootOf::FinalChange);
}

}  // namespace

std::string IdentificationRun::Refusal(const Settings& settings, const Elements& elements)
{
    if (settings.mode->controller->closedLoop)
        return std::string(
                   "L'identification se fait sur un \xE9" "chelon en boucle ouverte (--mode bo), pas en mode ") +
               settings.mode->name + ".";
    int kind = 0;
    elements.generator->LitCParam(0, kind);
    if (kind != CGeneFonction::Echelon)
        return "L'identification se fait sur un \xE9" "chelon de la commande (--signal echelon).";
    // As the card gets them: the step's and the rest's fields ("CBO", "CRBO").
    CGeneFonction& generator = *elements.generator;
    if (tarvic::Mid(generator.ConfFerz(kStepLine), 3) == tarvic::Mid(generator.ConfFerz(kRestLine), 4))
        return "L'\xE9" "chelon de la commande est \xE9gal \xE0 son repos : il n'y a pas d'\xE9" "chelon \xE0 identifier.";
    return {};
}

IdentificationRun::IdentificationRun(const Settings& settings, Elements& elements, Options options)
    : m_settings(settings), m_elements(elements), m_options(options)
{
    // The recording starts again with the generator's time, at the loop's
    // restart. A delay of whole recording periods and a millisecond makes the
    // step fall on a sample the recording takes: the record sees it when it
    // happens, and the delay read on it is the process's, to the sample.
    CGeneFonction& generator = *elements.generator;
    const int period = PeriodMs(*elements.recording);
    const int asked = std::max(static_cast<int>(std::lround(generator.RETARD * 1000)), period * kPointsBeforeStep);
    const int delay = (asked + period - 1) / period * period + 1;
    // Sent as whole milliseconds, truncated: the half keeps the single precision's error on the right side.
    if (delay <= kLongestDelayMs) generator.RETARD = (static_cast<float>(delay) + 0.5f) / 1000;
}

std::vector<std::string> IdentificationRun::RestConfiguration()
{
    // The configured run with its step at the rest value.
    CGeneFonction& generator = *m_elements.generator;
    const float step = generator.ECHELON;
    generator.ECHELON = generator.C_REPOS;
    std::vector<std::string> lines = ConfigurationLines(m_elements, m_settings);
    generator.ECHELON = step;
    return lines;
}

bool IdentificationRun::RestEnough(const std::vector<float>& measure, double period)
{
    m_rest = JudgeRest(measure, period);
    return RestOver(m_rest, m_options.stabilisation);
}

RunPlan::RunStart IdentificationRun::RunLines()
{
    // The card plays the rest configuration's step, at the rest value, after
    // the delay it already has. With the loop stopped, the step's value and
    // the recording armed; the restart then starts the generator's time and
    // the recording together, so that the recording holds the whole delay at
    // rest. The loop is stopped for two lines only, its outputs at their
    // independent commands, and no step can come before the restart.
    std::vector<std::string> recording = RecordingLines(m_elements);
    RunStart start;
    start.running.push_back(recording.front());
    start.stopped.push_back(m_elements.generator->ConfFerz(kStepLine));
    start.stopped.insert(start.stopped.end(), recording.begin() + 1, recording.end());
    return start;
}

bool IdentificationRun::Complete()
{
    const int blocks = BlocksAcquired(*m_elements.recording);
    if (!m_options.untilSettled || blocks == m_judgedBlocks) return m_ended;
    m_judgedBlocks = blocks;
    const analysis::StepRecord record = RecordedResponse(m_settings, m_elements);
    int group = 1;
    StepFigures figures = GroupedStep(record, group);
    if (figures.verdict != StepVerdict::Settled && m_rest.noise > 0 && figures.band > 0) {
        const double share = kNoiseInBand * m_rest.noise / figures.band;
        group = static_cast<int>(std::clamp(std::ceil(share * share), 1.0, double{kLargestGroup}));
        figures = GroupedStep(record, group);
    }
    // Before the step the record holds no step: nothing has settled yet.
    if (figures.verdict != StepVerdict::Settled || figures.stepIndex == 0) {
        m_settledPoints.reset();
        return false;
    }
    const int after = blocks * kPointsPerBlock - figures.stepIndex * group;
    if (!m_settledPoints) {
        m_settledPoints = after;
        m_settledBlocks = blocks;
    }
    m_ended = blocks > m_settledBlocks && after >= std::ceil(*m_settledPoints * (1 + kSettledMargin));
    return m_ended;
}

}  // namespace banc
