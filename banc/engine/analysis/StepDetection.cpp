#include "engine/analysis/StepDetection.h"

#include <algorithm>
#include <cmath>

#include "engine/analysis/Sampled.h"
#include "engine/analysis/SettledLevel.h"

namespace banc::analysis {
namespace {

// How a record is judged before any model is fitted:
//
// - The step is the command's largest jump between two points; the command
//   must hold within 5 % of that jump before it and after it, or the
//   response is not that of one step.
// - The rest level is the mean of the points before the step; its noise their
//   deviation when there are enough of them, else the second differences'.
// - At rest, the measurement must not drift: by its line over the rest, no
//   more than 5 % of the change or than its uncertainty, judged as the tail's
//   settling is (with enough points at rest to judge at all). A response on
//   top of a drift would be read as the step's.
// - The tail is the last quarter of what follows the step. The measurement
//   moved when the tail stands more than 5 noise deviations from the rest.
// - Held at a limit (an end stop, a sensor or a converter at the end of its
//   range), what lies beyond it never measured: with noise, a measurement
//   never holds one value for long, so half the tail at the response's
//   extreme is the sign. Without noise a settled measurement holds its last
//   value too, but it creeps up to it: one still a tenth of its change away
//   a tail's length before it stopped came to a dead stop.
// - Settled: the tail's least-squares line moves by at most 5 % of the change
//   over its span (a first order has then done some 3.5 time constants), or
//   by no more than its own uncertainty (3 deviations). The final level is
//   that line's value at the last point, or where a drift beyond the noise
//   creeps to.
// - Integrating: not settled, and the tail's slope is that of the second
//   quarter within 10 % (or within what the noise lets them be told apart):
//   a ramp, once the lag of its start is over. A first order slows by 10 %
//   from the one to the other only on a record shorter than a fifth of its
//   time constant, where it is one. Anything else is still on its way.
constexpr double kCommandHolds = 0.05;
constexpr int kMinBefore = 3;
constexpr int kMinAfter = 20;
constexpr int kRestForNoise = 10;  // fewer points at rest: the noise from the differences
constexpr double kTailShare = 0.25;
constexpr double kMovedDeviations = 5;
constexpr double kSettledDrift = 0.05;
constexpr double kDriftUncertainty = 3;
constexpr double kRampSlopes = 0.1;
constexpr double kDeadStop = 0.1;

const char* const kInvalid = "L'enregistrement est vide ou incoh\xE9rent : rien \xE0 identifier.";
const char* const kNoStep = "La commande ne fait pas d'\xE9" "chelon : rien \xE0 identifier.";
const char* const kNotOneStep =
    "La commande varie avant ou apr\xE8s son \xE9" "chelon : la r\xE9ponse n'est pas celle d'un \xE9" "chelon unique.";
const char* const kFewBefore = "Trop peu de points avant l'\xE9" "chelon (3 au moins) : le repos n'est pas connu.";
const char* const kFewAfter =
    "Trop peu de points apr\xE8s l'\xE9" "chelon (20 au moins) : la r\xE9ponse n'est pas connue.";
const char* const kNoMove =
    "La mesure ne varie pas au-del\xE0 de son bruit : l'\xE9" "chelon est trop petit ou le proc\xE9" "d\xE9 ne "
    "r\xE9pond pas.";
const char* const kHeldAtLimit =
    "La mesure reste bloqu\xE9" "e \xE0 une limite (fin de course, capteur ou convertisseur satur\xE9) : la "
    "r\xE9ponse n'est pas mesur\xE9" "e en entier.";
const char* const kNotAtRest =
    "La mesure d\xE9rive avant l'\xE9" "chelon : le proc\xE9" "d\xE9 n'\xE9tait pas au repos (stabilisez plus "
    "longtemps, --stabilisation).";
const char* const kNotSettled =
    "La mesure n'est pas stabilis\xE9" "e \xE0 la fin de l'enregistrement et ne suit pas la rampe d'un "
    "int\xE9grateur : enregistrez plus longtemps (--duree).";

double At(const std::vector<double>& y, int i) { return y[static_cast<std::size_t>(i)]; }

int LargestJump(const std::vector<double>& command)
{
    int index = 0;
    double largest = 0;
    for (int i = 1; i < static_cast<int>(command.size()); ++i) {
        const double jump = std::abs(At(command, i) - At(command, i - 1));
        if (jump > largest) {
            largest = jump;
            index = i;
        }
    }
    return index;
}

bool Holds(const std::vector<double>& command, int from, int to, double level, double tolerance)
{
    for (int i = from; i < to; ++i)
        if (std::abs(At(command, i) - level) > tolerance) return false;
    return true;
}

bool HeldAtLimit(const std::vector<double>& y, int stepIndex, int tailPoints, double change, double noise)
{
    const auto after = y.begin() + stepIndex;
    const double extreme = change > 0 ? *std::max_element(after, y.end()) : *std::min_element(after, y.end());
    if (noise > 0) return 2 * std::count(y.end() - tailPoints, y.end(), extreme) >= tailPoints;
    const int count = static_cast<int>(y.size());
    int held = 0;
    while (held < count - stepIndex && At(y, count - 1 - held) == extreme) ++held;
    const int before = count - held - tailPoints;
    return 2 * held >= tailPoints && before >= stepIndex &&
           std::abs(extreme - At(y, before)) > kDeadStop * std::abs(change);
}

// The command's one step and the points around it; "" or why not.
std::string FindCommandStep(const StepRecord& record, StepAnalysed& step)
{
    const int count = static_cast<int>(record.measure.size());
    if (record.command.size() != record.measure.size() || !(record.period > 0) || count < 2) return kInvalid;
    step.stepIndex = LargestJump(record.command);
    step.stepTime = step.stepIndex * record.period;
    step.commandBefore = At(record.command, std::max(step.stepIndex - 1, 0));
    step.commandAfter = At(record.command, step.stepIndex);
    const double jump = step.commandAfter - step.commandBefore;
    const double scale = std::max({std::abs(step.commandBefore), std::abs(step.commandAfter), 1.0});
    if (step.stepIndex == 0 || !(std::abs(jump) > 1e-9 * scale)) return kNoStep;
    const double tolerance = kCommandHolds * std::abs(jump);
    if (!Holds(record.command, 0, step.stepIndex, step.commandBefore, tolerance) ||
        !Holds(record.command, step.stepIndex, count, step.commandAfter, tolerance))
        return kNotOneStep;
    if (step.stepIndex < kMinBefore) return kFewBefore;
    if (count - step.stepIndex < kMinAfter) return kFewAfter;
    return "";
}

// What the measurement did around the step; "" or why it cannot be identified.
std::string JudgeMeasurement(const StepRecord& record, StepAnalysed& step)
{
    const std::vector<double>& y = record.measure;
    const int count = static_cast<int>(y.size()), after = count - step.stepIndex;
    step.measureBefore = MeanOf(y, 0, step.stepIndex);
    step.noise = step.stepIndex >= kRestForNoise ? DeviationOf(y, 0, step.stepIndex)
                                                 : NoiseFromDifferences(y, step.stepIndex, count);

    const int tailPoints = std::max(5, static_cast<int>(after * kTailShare));
    const ResponseEnd end{tailPoints, LineOf(y, count - 2 * tailPoints, count - tailPoints, record.period),
                          LineOf(y, count - tailPoints, count, record.period)};
    const Line& tail = end.tail;
    const double change = tail.at - step.measureBefore;
    const double levelScale = std::max({std::abs(step.measureBefore), std::abs(tail.at), 1.0});
    if (!(std::abs(change) > kMovedDeviations * step.noise + 1e-9 * levelScale)) return kNoMove;
    if (HeldAtLimit(y, step.stepIndex, tailPoints, change, step.noise)) return kHeldAtLimit;

    // The drift of a line over `points` that the noise alone could make.
    const auto uncertainty = [&](int points) { return kDriftUncertainty * step.noise * std::sqrt(12.0 / points); };
    const auto drifts = [&](double drift, int points) {
        return std::abs(drift) > std::max(kSettledDrift * std::abs(change), uncertainty(points));
    };
    const double restSpan = (step.stepIndex - 1) * record.period;
    if (step.stepIndex >= kRestForNoise &&
        drifts(LineOf(y, 0, step.stepIndex, record.period).slope * restSpan, step.stepIndex))
        return kNotAtRest;

    const double span = (tailPoints - 1) * record.period;
    const double drift = tail.slope * span;
    const double onLine = tail.ValueAt((count - 1) * record.period);
    if (!drifts(drift, tailPoints)) {
        // Where a drift shows beyond the noise, the level it creeps to.
        step.measureFinal = std::abs(drift) > uncertainty(tailPoints) ? SettledLevel(record, end) : onLine;
        return "";
    }
    step.measureFinal = onLine;
    const Line second = LineOf(y, step.stepIndex + tailPoints, step.stepIndex + 2 * tailPoints, record.period);
    const double slopesApart = std::sqrt(2.0) * uncertainty(tailPoints) / span;
    step.integrating =
        tail.slope * second.slope > 0 && tail.slope * change > 0 &&
        std::abs(tail.slope - second.slope) <= std::max(kRampSlopes * std::abs(second.slope), slopesApart);
    return step.integrating ? "" : kNotSettled;
}

}  // namespace

DetectedStep DetectStep(const StepRecord& record)
{
    DetectedStep found;
    found.refusal = FindCommandStep(record, found.step);
    if (found.refusal.empty()) found.refusal = JudgeMeasurement(record, found.step);
    return found;
}

}  // namespace banc::analysis
