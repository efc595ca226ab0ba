#include "engine/lab/LabWork.h"

#include "engine/lab/LoopTuning.h"
#include "engine/lab/RecordedResponse.h"

namespace banc {
namespace {

// The PID mode of a motorised bench for the quantity it controls.
const char* MotorModeFor(Quantity quantity)
{
    switch (quantity) {
    case Quantity::Speed: return "vitesse";
    case Quantity::Position: return "position";
    default: return nullptr;
    }
}

}  // namespace

LoopTarget ClosedLoopFor(const Settings& openLoop)
{
    LoopTarget target;
    const Bench& bench = *openLoop.bench;
    const MeasureChoice& measure = openLoop.Measure();
    const char* mode = measure.quantity == Quantity::Percent ? "pid" : MotorModeFor(measure.quantity);
    const Mode* loopMode = mode ? FindMode(bench, mode) : nullptr;
    if (!loopMode) {
        target.refusal = std::string("Le banc ") + bench.title + " n'a pas de boucle PID sur la mesure \"" +
                         measure.label + "\" : pas de r\xE9glage \xE0 proposer.";
        return target;
    }
    // The profile's own settings of that loop, on the same output and measurement.
    target.settings.bench = &bench;
    target.settings.mode = loopMode;
    target.settings.command = &openLoop.Command();
    target.settings.measure = &measure;
    return target;
}

RelayLabResult AnalyseRelayRun(const Settings& relayRun, const Elements& elements,
                               const std::shared_ptr<tarvic::Profile>& profile)
{
    RelayLabResult result;
    const analysis::StepRecord record = RecordedResponse(relayRun, elements);
    result.relay = analysis::AnalyseRelay(record.command, record.measure, record.period);
    if (!result.relay.refusal.empty()) return result;
    result.tuningRefusal = TuneForLoopOf(
        relayRun, profile, analysis::SuggestFromUltimate(result.relay.ultimateGain, result.relay.ultimatePeriod),
        nullptr, result.suggestions);
    return result;
}

analysis::LoopPrediction PredictRun(const analysis::ProcessModel& model, const Settings& loop, const Elements& elements)
{
    // The card's PID is what is predicted; another controller gives no prediction.
    if (loop.mode->controller != &kPid) return {};
    const analysis::LoopScale scale = LoopScaleOf(loop, *elements.bench);
    const std::optional<analysis::LoopStep> step = LoopStepOf(elements, scale);
    if (!step) return {};
    return analysis::PredictLoop(model, scale, CardPidOf(*elements.controller, *elements.bench), *step);
}

}  // namespace banc
