#include "window/GeneratorDialog.h"

#include <QComboBox>

#include <algorithm>
#include <cstring>

#include "window/Latin1.h"

namespace banc::window {
namespace {

// Each signal, its name shown, and the generator's parameters it plays with.
struct SignalFields {
    int kind;
    const char* label;
    std::vector<const char*> parameters;
};
const std::vector<SignalFields>& Signals()
{
    static const std::vector<SignalFields> kinds = {
        {0, "\xC9" "chelon", {"echelon", "retard", "repos"}},
        {1, "Rampe", {"echelon", "rampe", "retard", "repos"}},
        {2, "Sinus", {"echelon", "amplitude", "frequence", "retard", "repos"}},
        {6, "Trap\xE8ze", {"echelon", "rampe", "acceleration", "retard", "repos"}},
    };
    return kinds;
}

}  // namespace

GeneratorDialog::GeneratorDialog(Workbench& workbench, QWidget* parent)
    : SettingsDialog(QStringLiteral("Consigne"), workbench, parent), m_signal(new QComboBox(this))
{
    {
        std::lock_guard lock(workbench.Lock());
        workbench.LiveElements().generator->LitCParam(0, m_initialKind);
    }
    m_signal->setObjectName(QStringLiteral("signal"));
    for (const auto& signal : Signals()) m_signal->addItem(Q(signal.label), signal.kind);
    m_signal->setCurrentIndex(std::max(0, m_signal->findData(m_initialKind)));
    AddRow(QStringLiteral("Signal"), m_signal);
    for (const ParameterDef* def : ParametersOf(Role::Generator)) AddParameter(*def);
    connect(m_signal, &QComboBox::currentIndexChanged, this, [this] { ShowFieldsOf(Kind()); });
    ShowFieldsOf(Kind());
}

int GeneratorDialog::Kind() const { return m_signal->currentData().toInt(); }

void GeneratorDialog::ShowFieldsOf(int kind)
{
    const auto signal =
        std::find_if(Signals().begin(), Signals().end(), [kind](const auto& s) { return s.kind == kind; });
    for (const ParameterDef* def : ParametersOf(Role::Generator)) {
        bool used = false;
        if (signal != Signals().end())
            for (const char* name : signal->parameters) used = used || std::strcmp(name, def->name) == 0;
        SetFieldShown(def->index, used);
    }
}

std::string GeneratorDialog::Apply(const Values& values)
{
    const Workbench::Values changed = ParameterValues(values);
    if (changed.empty() && Kind() == m_initialKind) return {};
    return m_workbench.SetSignal(Kind(), changed);
}

}  // namespace banc::window
