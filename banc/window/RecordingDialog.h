#pragma once

#include "window/SettingsDialog.h"

namespace banc::window {

// The recording's length and period.
class RecordingDialog : public SettingsDialog {
    Q_OBJECT

public:
    static constexpr int kDurationField = 2001;  // no parameter of an element: the blocks it makes

    RecordingDialog(Workbench& workbench, QWidget* parent);

protected:
    std::string Apply(const Values& values) override;
};

}  // namespace banc::window
