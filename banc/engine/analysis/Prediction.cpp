#include "engine/analysis/Prediction.h"

#include <algorithm>
#include <cmath>

#include "engine/analysis/CardPidLaw.h"
#include "engine/analysis/SampledPlant.h"

namespace banc::analysis {
namespace {

constexpr double kOnTime = 1e-9;  // s: an instant this close to a sample falls on it

// Where the loop rests with the setpoint `setpoint` held (loop units): the
// command, the measurement and the integral sum that hold each other still.
// The models are taken through the origin, as the benches are: no command, no
// change. An integrator rests at the setpoint with no command.
struct Rest {
    double command = 0, measure = 0, integral = 0;
};

Rest RestOf(const ProcessModel& model, const CardPid& pid, double setpoint, double min, double max)
{
    const auto held = [&](double u) { return std::max(min, std::min(u, max)); };
    Rest rest;
    const bool acts = pid.k2 != 0 && (pid.proportionalAction || pid.integralAction);
    if (model.kind == ModelKind::Integrating) {
        rest.command = held(0);
        rest.measure = setpoint;
    } else if (acts && pid.integralAction && model.gain != 0) {
        rest.command = held(setpoint / model.gain);
        rest.measure = model.gain * rest.command;
    } else if (acts) {
        const double loopGain = pid.k2 * pid.k1;
        rest.command = held(loopGain * setpoint / (1 + model.gain * loopGain));
        rest.measure = model.gain * rest.command;
    } else {
        rest.command = held(0);
        rest.measure = model.gain * rest.command;
    }
    if (pid.integralAction && pid.k2 != 0) {
        const double proportional = pid.proportionalAction ? pid.k1 * (setpoint - rest.measure) : 0;
        rest.integral = rest.command / pid.k2 - proportional;
    }
    return rest;
}

}  // namespace

LoopPrediction PredictLoop(const ProcessModel& model, const LoopScale& scale, const CardPid& pid, const LoopStep& step)
{
    LoopPrediction prediction;
    prediction.period = step.recordPeriod;
    if (!(pid.period > 0 && step.recordPeriod > 0 && step.duration > 0 && scale.measurePerLoopUnit != 0 &&
          scale.commandPerLoopUnit != 0))
        return prediction;

    // The model in loop units: loop measurement per loop command.
    ProcessModel loopModel = model;
    loopModel.gain = model.gain * scale.commandPerLoopUnit / scale.measurePerLoopUnit;
    const double restSetpoint = step.rest / scale.measurePerLoopUnit;
    const double stepSetpoint = step.step / scale.measurePerLoopUnit;

    const Rest rest = RestOf(loopModel, pid, restSetpoint, scale.commandMin, scale.commandMax);
    SampledPlant plant(loopModel, pid.period, rest.command, rest.measure);
    CardPidLaw law(pid, scale.commandMin, scale.commandMax);
    law.SetIntegral(rest.integral);

    // The recording takes the first sample, then the first sample at or after
    // each waiting time from it. The generator's time starts at the loop's
    // start, one period before its first sample.
    const auto points = static_cast<long>(std::floor(step.duration / step.recordPeriod + kOnTime));
    long nextPoint = 0;
    for (long sample = 0; nextPoint < points; ++sample) {
        const double elapsed = static_cast<double>(sample + 1) * pid.period;
        const double setpointLoop = elapsed + kOnTime >= step.delay ? stepSetpoint : restSetpoint;
        const double measure = plant.Output();
        const double command = law.Step(setpointLoop, measure);
        const double due = static_cast<double>(nextPoint) * step.recordPeriod;
        if (static_cast<double>(sample) * pid.period + kOnTime >= due) {
            prediction.setpoint.push_back(setpointLoop * scale.measurePerLoopUnit);
            prediction.measure.push_back(measure * scale.measurePerLoopUnit);
            prediction.command.push_back(command * scale.commandPerLoopUnit);
            ++nextPoint;
        }
        plant.Advance(command);
    }
    const std::vector<float> setpoint(prediction.setpoint.begin(), prediction.setpoint.end());
    const std::vector<float> measure(prediction.measure.begin(), prediction.measure.end());
    prediction.figures =
        AnalyseStep(setpoint, measure, static_cast<float>(step.recordPeriod), OvershootOf::SetpointStep);
    return prediction;
}

double IntegralAbsoluteDifference(const std::vector<double>& measured, const std::vector<double>& predicted,
                                  double period)
{
    const std::size_t common = std::min(measured.size(), predicted.size());
    double sum = 0;
    // Trapezoids between the common points.
    for (std::size_t i = 1; i < common; ++i)
        sum += (std::abs(measured[i - 1] - predicted[i - 1]) + std::abs(measured[i] - predicted[i])) / 2 * period;
    return sum;
}

}  // namespace banc::analysis
