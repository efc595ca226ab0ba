#pragma once

#include <vector>

#include "engine/analysis/ProcessModel.h"

namespace banc::analysis {

// A process model driven through a zero-order hold: its state at each sample,
// integrated exactly between samples for the held command, the delay taken
// to the fraction of a period. Gains and states are in whatever units the
// model is given in.
class SampledPlant {
public:
    // At rest with the command `rest` held since ever (an integrator at `output`).
    SampledPlant(const ProcessModel& model, double period, double rest, double output);

    double Output() const { return m_lags.empty() ? m_integral : m_lags.back(); }
    // One period on with `command` held from this sample on.
    void Advance(double command);

private:
    // The part of a period a held input lasts, with its precomputed propagation.
    struct Stretch {
        double length = 0;
        std::vector<double> coefficients;  // e^-s s^m / m!, s = length / τ
    };
    Stretch MakeStretch(double length) const;
    void Hold(const Stretch& stretch, double input);

    ProcessModel m_model;
    int m_wholeDelay = 0;            // periods
    Stretch m_late, m_early;         // the first part of a period (the older command), then the rest
    std::vector<double> m_commands;  // the last m_wholeDelay + 2, newest last
    std::vector<double> m_lags;      // each lag's output; none for an integrator
    double m_integral = 0;
};

}  // namespace banc::analysis
