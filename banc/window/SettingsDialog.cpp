#include "window/SettingsDialog.h"

#include "engine/outputs/Results.h"
#include "engine/run/Setup.h"
#include "window/Latin1.h"

namespace banc::window {
SettingsDialog::SettingsDialog(const QString& title, Workbench& workbench, QWidget* parent)
    : ParameterDialog(title, parent), m_workbench(workbench)
{
}

std::vector<const ParameterDef*> SettingsDialog::ParametersOf(Role role)
{
    std::vector<const ParameterDef*> defs;
    std::lock_guard lock(m_workbench.Lock());
    const Settings& settings = m_workbench.LiveSettings();
    for (const auto* table : {&CommonParameters(), &settings.bench->parameters})
        for (const auto& def : *table)
            if (def.role == role && Applies(def, settings, m_workbench.LiveElements())) defs.push_back(&def);
    return defs;
}

void SettingsDialog::AddParameter(const ParameterDef& def)
{
    float value = 0, min = 0, max = 0;
    std::string unit;
    {
        std::lock_guard lock(m_workbench.Lock());
        const Settings& settings = m_workbench.LiveSettings();
        Elements& elements = m_workbench.LiveElements();
        elements.Of(def.role)->LitFParam(def.index, value);
        ParameterRange(def, settings, elements, min, max);
        if (def.limit == Limit::Level) unit = CurvesOf(settings, elements).setpointUnit;
    }
    m_defs[def.index] = &def;
    AddField(def.index, Capitalised(def.help), value, min, max, Decimals(def), unit);
}

Workbench::Values SettingsDialog::ParameterValues(const Values& values) const
{
    Workbench::Values parameters;
    for (const auto& [id, value] : Changed(values))
        if (const auto def = m_defs.find(id); def != m_defs.end()) parameters.emplace_back(def->second, value);
    return parameters;
}

}  // namespace banc::window
