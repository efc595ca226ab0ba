#pragma once

#include "window/SettingsDialog.h"

class QComboBox;

namespace banc::window {

// The generator's signal and the parameters that signal uses.
class GeneratorDialog : public SettingsDialog {
    Q_OBJECT

public:
    GeneratorDialog(Workbench& workbench, QWidget* parent);
    QComboBox* Signal() const { return m_signal; }

protected:
    std::string Apply(const Values& values) override;

private:
    int Kind() const;
    void ShowFieldsOf(int kind);

    QComboBox* m_signal;
    int m_initialKind = 0;
};

}  // namespace banc::window
