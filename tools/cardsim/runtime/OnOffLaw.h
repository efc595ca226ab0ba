#pragma once

#include "ControlLaw.h"

namespace cardsim {

// The card's on/off controller: full command when the error rises above the
// positive threshold, none when it falls below the negative one, and the last
// state in between.
class OnOffLaw : public ControlLaw {
public:
    void SetNegativeThreshold(double loopUnits) { m_negative = loopUnits; }
    void SetPositiveThreshold(double loopUnits) { m_positive = loopUnits; }

    void Reset() override { m_on = false; }
    double Step(const LawInput& input, LoopSignals& terms) override;

private:
    double m_negative = 0;
    double m_positive = 0;
    bool m_on = false;
};

}  // namespace cardsim
