#pragma once

#include <map>
#include <vector>

#include "engine/model/Parameter.h"
#include "window/ParameterDialog.h"
#include "window/Workbench.h"

namespace banc::window {

// The settings of one element of the live experiment: its rows made from the
// element's parameter numbers, their ranges those the workbench checks.
class SettingsDialog : public ParameterDialog {
    Q_OBJECT

protected:
    SettingsDialog(const QString& title, Workbench& workbench, QWidget* parent);

    // The parameters of the element in `role` in this mode, in the engine's order.
    std::vector<const ParameterDef*> ParametersOf(Role role);
    // Its row, identified by the parameter's number.
    void AddParameter(const ParameterDef& def);
    // The changed fields as the workbench takes them.
    Workbench::Values ParameterValues(const Values& values) const;

    Workbench& m_workbench;

private:
    std::map<int, const ParameterDef*> m_defs;  // by field number
};

}  // namespace banc::window
