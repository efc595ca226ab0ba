#pragma once

#include <functional>
#include <string>

#include "engine/run/FrequencySweep.h"
#include "window/ParameterDialog.h"

namespace banc::window {

class Workbench;

// The frequency response's request: the bounds, the number of frequencies
// and the sine's amplitude, the bounds offered from the bench's kept model
// when there is one. Validated, it starts the sweep; a sweep refused (bounds
// in the wrong order, a frequency the card cannot play) keeps it open with why.
class SweepDialog : public ParameterDialog {
    Q_OBJECT

public:
    static constexpr int kLowField = 1, kHighField = 2, kPointsField = 3, kAmplitudeField = 4;
    using Starter = std::function<std::string(const SweepRequest& request)>;

    SweepDialog(Workbench& workbench, Starter start, QWidget* parent);

protected:
    std::string Apply(const Values& values) override;

private:
    Starter m_start;
};

}  // namespace banc::window
