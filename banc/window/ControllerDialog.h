#pragma once

#include <array>

#include "window/SettingsDialog.h"

class QCheckBox;

namespace banc::window {

// The controller's settings: its coefficients and, for the PID, its actions.
class ControllerDialog : public SettingsDialog {
    Q_OBJECT

public:
    ControllerDialog(Workbench& workbench, QWidget* parent);

protected:
    std::string Apply(const Values& values) override;

private:
    std::string Letters() const;

    std::array<QCheckBox*, 4> m_actions{};  // P, I, D, M; none without actions
    std::string m_initialLetters;
};

}  // namespace banc::window
