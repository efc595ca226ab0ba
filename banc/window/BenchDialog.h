#pragma once

#include "window/SettingsDialog.h"

class QCheckBox;
class QComboBox;

namespace banc::window {

// The bench's side of the loop: where the command goes, what is measured and
// taken back, and the bench's independent commands.
class BenchDialog : public SettingsDialog {
    Q_OBJECT

public:
    BenchDialog(Workbench& workbench, QWidget* parent);

protected:
    std::string Apply(const Values& values) override;

private:
    QComboBox* m_command;
    QComboBox* m_measure;
    QCheckBox* m_routed;
    QCheckBox* m_feedback;
};

}  // namespace banc::window
