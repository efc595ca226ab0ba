#pragma once

namespace banc::analysis {

enum class ModelKind {
    FirstOrderDelay,  // K e^(-θs) / (1 + τs)
    Strejc,           // K e^(-θs) / (1 + τs)^n
    Integrating,      // K e^(-θs) / s
};

// A process model in the record's units: the measurement's change per unit of
// command change (per second of it for an integrating process).
struct ProcessModel {
    ModelKind kind = ModelKind::FirstOrderDelay;
    double gain = 0;
    double timeConstant = 0;  // s; each of the n lags for Strejc; 0 for an integrator
    double delay = 0;         // s
    int order = 1;            // Strejc's n

    // The measurement's change at `t` seconds after a command step of `step`
    // from rest (0 before the delay).
    double StepResponse(double t, double step) const;
};

}  // namespace banc::analysis
