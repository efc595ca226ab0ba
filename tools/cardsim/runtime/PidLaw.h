#pragma once

#include <cstdint>

#include "ControlLaw.h"

namespace cardsim {

// The card's PID, in the parallel form
//   u = K2 * (K1 * e + (1 / Ti) * integral of e + D),
// where D is the derivative Td * dx/dt through a first-order filter of pole
// `pole` (x is the error, or minus the measurement). The coefficients are the
// fixed-point fields the card receives, decoded as Q10 numbers.
class PidLaw : public ControlLaw {
public:
    static constexpr std::uint8_t kProportional = 0x01;
    static constexpr std::uint8_t kIntegral = 0x02;
    static constexpr std::uint8_t kDerivative = 0x04;
    static constexpr std::uint8_t kDerivativeOnMeasurement = 0x08;

    void SetActions(std::uint8_t actions) { m_actions = actions; }
    // "RKP": proportional Q10, output coefficient (K2 * 256) and output normaliser
    // (start * 1024 * 20 / K2). K2 comes from the normaliser, which carries it to
    // 32 bits; the output coefficient stands in where the normaliser overflowed.
    void SetGains(std::uint32_t proportional, std::uint32_t output, std::uint32_t normaliser, double normaliserStart);
    void SetIntegral(std::uint32_t integral) { m_integralGain = integral / 1024.0; }
    void SetDerivative(std::uint32_t derivative) { m_derivativeGain = derivative / 1024.0; }
    void SetFilter(std::uint32_t pole) { m_pole = pole / 1024.0; }
    // "RRZI1": the integral starts again from zero.
    void ClearIntegral() { m_integralSum = 0; }

    void Reset() override;
    double Step(const LawInput& input, LoopSignals& terms) override;

private:
    bool Has(std::uint8_t action) const { return (m_actions & action) != 0; }

    std::uint8_t m_actions = 0;
    double m_proportionalGain = 1;
    double m_outputGain = 1;
    double m_integralGain = 0;    // sample period / Ti
    double m_derivativeGain = 0;  // (Td / sample period) * (1 - pole)
    double m_pole = 0;

    double m_integralSum = 0;
    double m_derivative = 0;
    double m_previousInput = 0;
    bool m_started = false;
};

}  // namespace cardsim
