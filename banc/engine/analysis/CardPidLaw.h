#pragma once

#include "engine/analysis/Prediction.h"

namespace banc::analysis {

// The card's PID, one sample at a time, on the coefficients it received, in
// loop units: u = K2 (K1 e + Σ (T/Ti) e + D) with D(k) = p D(k-1) + d (x(k) - x(k-1)),
// x the error or minus the measurement, no derivative kick at the first sample,
// the command held within its limits and the integral not accumulated where
// the command is held at a limit and the new term would push it further.
class CardPidLaw {
public:
    CardPidLaw(const CardPid& pid, double commandMin, double commandMax);

    // The integral sum before the first sample: the loop starts where it rests.
    void SetIntegral(double sum) { m_integralSum = sum; }
    // The command of one sample.
    double Step(double setpoint, double measurement);

private:
    CardPid m_pid;
    double m_min, m_max;
    double m_integralSum = 0;
    double m_derivative = 0;
    double m_previousInput = 0;
    bool m_started = false;
};

}  // namespace banc::analysis
