#include "engine/lab/LoopTuning.h"

#include <tarvic/control/GeneFonction.h>
#include <tarvic/platform/Text.h>
#include <tarvic/recording/Enregistrement.h>

#include <algorithm>
#include <cmath>
#include <string_view>

#include "engine/model/ProfileScope.h"
#include "engine/model/StagedProfile.h"
#include "engine/outputs/Results.h"
#include "engine/run/Setup.h"

namespace banc {
namespace {

// The PID's parameter numbers and action switches (SetCParam 2 to 5).
constexpr int kKp = 10, kTi = 11, kTd = 12, kKf = 13, kKs = 14;
constexpr int kProportional = 2, kIntegral = 3, kDerivative = 4, kOnMeasurement = 5;
// The controller's lines: kind and actions, period, gains, integral, derivative, filter.
constexpr int kActionsLine = 0, kPeriodLine = 1, kGainsLine = 2, kIntegralLine = 3, kDerivativeLine = 4,
              kFilterLine = 5;
// The motorised benches' loop commands 1024 for the full command.
constexpr double kMotorFullCommand = 1024;
// K1 stops short of 64, which its 16-bit field would send as 0.
constexpr float kMaxKp = 63.999f;

// The hexadecimal field of `width` digits at `at` in a line the library made, 0 when absent.
std::uint32_t Field(std::string_view line, std::size_t at, std::size_t width)
{
    std::uint32_t value = 0;
    tarvic::ReadHexField(line, static_cast<std::ptrdiff_t>(at), static_cast<std::ptrdiff_t>(width), value);
    return value;
}

double Q10(std::uint32_t field) { return field / 1024.0; }

// A signed level of the generator's line "<prefix><4 or 8 digits>", in loop units.
std::optional<double> Level(const std::string& line, std::string_view prefix)
{
    if (line.rfind(prefix, 0) != 0) return std::nullopt;
    const std::size_t width = line.size() - prefix.size();
    if (width != 4 && width != 8) return std::nullopt;
    const std::uint32_t field = Field(line, prefix.size(), width);
    if (width == 4) return static_cast<std::int16_t>(field);
    return static_cast<std::int32_t>(field);
}

}  // namespace

analysis::LoopScale LoopScaleOf(const Settings& loop, CEidElement& bench)
{
    if (!bench.TestSynum()) return {};  // the analog benches: percent both ways
    // Card units: the measurement in counts or lines, which the bench's unit
    // factor shows in its unit, as the recording's curves are shown.
    analysis::LoopScale scale;
    const UnitView unit = QuantityUnit(loop.Measure().quantity, bench);
    float factor = 1;
    if (unit.factor != 0) bench.LitFParam(unit.factor, factor);
    scale.measurePerLoopUnit = factor;
    scale.commandPerLoopUnit = 100 / kMotorFullCommand;
    scale.commandMin = -kMotorFullCommand;
    scale.commandMax = kMotorFullCommand;
    return scale;
}

analysis::CardPid CardPidOf(CEidElement& controller, const CEidElement& bench)
{
    analysis::CardPid pid;
    const std::string actions = controller.ConfFerz(kActionsLine);  // "RTRE1aa"
    const std::string gains = controller.ConfFerz(kGainsLine);      // "RKPppppoooonnnnnnnn"
    const std::uint32_t bits = Field(actions, 5, 2);
    pid.proportionalAction = (bits & 0x01) != 0;
    pid.integralAction = (bits & 0x02) != 0;
    pid.derivativeAction = (bits & 0x04) != 0;
    pid.derivativeOnMeasurement = (bits & 0x08) != 0;
    pid.period = Field(controller.ConfFerz(kPeriodLine), 3, 4) / 1000.0;  // "RERtttt", ms
    pid.k1 = Q10(Field(gains, 3, 4));
    // K2 as the card reads it: from the normaliser, which carries it to 32
    // bits; the output coefficient where the normaliser overflowed.
    const std::uint32_t output = Field(gains, 7, 4), normaliser = Field(gains, 11, 8);
    const double start = bench.TestSynum() ? 1024 : 3276;
    if (output == 0)
        pid.k2 = 0;
    else if (normaliser > 0 && normaliser < 0x80000000u)
        pid.k2 = start * 1024 * 20 / normaliser;
    else
        pid.k2 = output / 256.0;
    pid.integral = Q10(Field(controller.ConfFerz(kIntegralLine), 3, 4));
    pid.derivative = Q10(Field(controller.ConfFerz(kDerivativeLine), 3, 4));
    pid.pole = Q10(Field(controller.ConfFerz(kFilterLine), 3, 4));
    return pid;
}

std::optional<analysis::LoopStep> LoopStepOf(const Elements& elements, const analysis::LoopScale& scale)
{
    // What the card plays, as the generator's lines carry it: its step and
    // rest in loop units, its delay in whole milliseconds.
    CGeneFonction& generator = *elements.generator;
    int kind = 0;
    generator.LitCParam(0, kind);
    if (kind != CGeneFonction::Echelon) return std::nullopt;
    const std::string delay = generator.ConfFerz(2);
    const std::optional<double> step = Level(generator.ConfFerz(1), "CBF");
    const std::optional<double> rest = Level(generator.ConfFerz(3), "CRBF");
    if (!step || !rest || delay.rfind("RED", 0) != 0) return std::nullopt;
    CEnregistrement& recording = *elements.recording;
    analysis::LoopStep loopStep;
    loopStep.rest = *rest * scale.measurePerLoopUnit;
    loopStep.step = *step * scale.measurePerLoopUnit;
    loopStep.delay = Field(delay, 3, 4) / 1000.0;
    loopStep.recordPeriod = PeriodMs(recording) / 1000.0;
    loopStep.duration = loopStep.recordPeriod * kPointsPerBlock * recording.LitParam(2);
    return loopStep;
}

LoopTuner::LoopTuner(const Settings& loop, const std::shared_ptr<tarvic::Profile>& profile)
    : m_loop(loop), m_scratch(std::make_shared<StagedProfile>(profile))
{
    // The scratch profile keeps every write aside and is never committed.
    ProfileScope scope(m_scratch);
    m_error = Configure(loop, m_scratch, m_elements).error;
    if (!m_error.empty()) return;
    CEidElement& controller = *m_elements.controller;
    m_scale = LoopScaleOf(loop, *m_elements.bench);
    m_k2 = CardPidOf(controller, *m_elements.bench).k2;
    controller.LitFParam(kKp, m_profile.kp);
    controller.LitFParam(kTi, m_profile.ti);
    controller.LitFParam(kTd, m_profile.td);
    controller.LitFParam(kKf, m_profile.kf);
    controller.LitFParam(kKs, m_profile.ks);
    // A K2 of 0 commands nothing whatever K1 is: the suggestions start from K2 = 1.
    if (!(m_k2 > 0)) {
        m_k2 = 1;
        m_profile.ks = 1;
    }
}

ControllerSettings LoopTuner::SettingsFor(const analysis::IdealPid& pid)
{
    // The ideal controller in loop units: command per measurement.
    const double kc = pid.kc * m_scale.measurePerLoopUnit / m_scale.commandPerLoopUnit;
    // The card computes u = K2 (K1 e + (1/Ti') ∫e dt + Td' de/dt), the integral
    // and the derivative outside K1: against Kc (e + (1/Ti) ∫e dt + Td de/dt),
    // K1 = Kc / K2, Ti' = K2 Ti / Kc, Td' = Kc Td / K2.
    ControllerSettings settings = m_profile;
    double k2 = m_k2;
    float min = 0, max = 0;
    // Where K1 (and with it Ti' and Td') would leave the PID's limits with the
    // profile's K2, the nearest K1 within them is taken and K2 carries the rest.
    double low = 0.001, high = kMaxKp;
    CEidElement& controller = *m_elements.controller;
    if (pid.ti > 0) {
        controller.LitMinMax(kTi, min, max);
        low = std::max(low, pid.ti / max);
        high = std::min(high, pid.ti / min);
    }
    if (pid.td > 0) {
        controller.LitMinMax(kTd, min, max);
        low = std::max(low, min / pid.td);
        high = std::min(high, max / pid.td);
    }
    const double kp = kc / k2;
    if ((kp < low || kp > high) && low <= high) {
        const double fitted = std::clamp(kp, low, high);
        const double ks = m_profile.ks * (kc / fitted) / k2;
        controller.LitMinMax(kKs, min, max);
        if (ks >= min && ks <= max) {
            settings.ks = static_cast<float>(ks);
            k2 = kc / fitted;
        }
    }
    settings.kp = static_cast<float>(kc / k2);
    if (pid.ti > 0) settings.ti = static_cast<float>(k2 * pid.ti / kc);
    if (pid.td > 0) settings.td = static_cast<float>(kc * pid.td / k2);
    settings.actions = analysis::ControllerTypeName(pid.type);
    return settings;
}

void LoopTuner::Apply(const ControllerSettings& settings)
{
    CEidElement& controller = *m_elements.controller;
    controller.SetFParam(kKs, settings.ks);
    controller.SetFParam(kKp, settings.kp);
    controller.SetFParam(kTi, settings.ti);
    controller.SetFParam(kTd, settings.td);
    controller.SetFParam(kKf, settings.kf);
    const auto has = [&](char letter) { return static_cast<char>(settings.actions.find(letter) != std::string::npos); };
    controller.SetCParam(kProportional, has('P'));
    controller.SetCParam(kIntegral, has('I'));
    controller.SetCParam(kDerivative, has('D'));
    controller.SetCParam(kOnMeasurement, 0);
}

TunedSuggestion LoopTuner::Tune(const analysis::Suggestion& suggestion, const analysis::ProcessModel* model)
{
    TunedSuggestion tuned{suggestion, {}, {}};
    if (!m_error.empty()) return tuned;
    ProfileScope scope(m_scratch);
    tuned.settings = SettingsFor(suggestion.pid);
    Apply(tuned.settings);
    if (model) tuned.prediction = PredictRun(*model, m_loop, m_elements);
    return tuned;
}

std::string TuneForLoopOf(const Settings& run, const std::shared_ptr<tarvic::Profile>& profile,
                          const std::vector<analysis::Suggestion>& suggestions, const analysis::ProcessModel* model,
                          std::vector<TunedSuggestion>& tuned)
{
    const LoopTarget target = ClosedLoopFor(run);
    if (!target.refusal.empty()) return target.refusal;
    LoopTuner tuner(target.settings, profile);
    if (!tuner.Error().empty()) return tuner.Error();
    for (const analysis::Suggestion& suggestion : suggestions) tuned.push_back(tuner.Tune(suggestion, model));
    return {};
}

}  // namespace banc
