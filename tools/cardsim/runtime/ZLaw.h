#pragma once

#include <array>

#include "ControlLaw.h"

namespace cardsim {

// The card's discrete corrector
//   u(k) = C0 e(k) + C1 e(k-1) + C2 e(k-2) + C3 e(k-3) + B1 u(k-1) + B2 u(k-2) + B3 u(k-3),
// that is R(z) = (C0 + C1 z^-1 + C2 z^-2 + C3 z^-3) / (1 - B1 z^-1 - B2 z^-2 - B3 z^-3).
// The past commands are the clamped ones, so the recursion never winds up.
class ZLaw : public ControlLaw {
public:
    // Q10 coefficients in the order of "RZ": B1, B2, B3, then C0 to C3.
    void SetCoefficients(const std::array<double, 7>& coefficients);

    void Reset() override;
    double Step(const LawInput& input, LoopSignals& terms) override;

private:
    std::array<double, 3> m_b{};
    std::array<double, 4> m_c{1, 0, 0, 0};
    std::array<double, 4> m_errors{};    // e(k) .. e(k-3)
    std::array<double, 3> m_commands{};  // u(k-1) .. u(k-3)
};

}  // namespace cardsim
