#include "window/ControllerDialog.h"

#include <QCheckBox>

#include "window/Latin1.h"

namespace banc::window {
namespace {

// The PID's action bits, SetCParam and LitEtat 2 to 5, with their letters.
struct ActionBox {
    char letter;
    const char* label;
};
constexpr ActionBox kActions[] = {{'P', "Action proportionnelle"},
                                  {'I', "Action int\xE9grale"},
                                  {'D', "Action d\xE9riv\xE9" "e"},
                                  {'M', "D\xE9riv\xE9" "e sur la mesure (et non sur l'\xE9" "cart)"}};
constexpr int kFirstAction = 2;

}  // namespace

ControllerDialog::ControllerDialog(Workbench& workbench, QWidget* parent) : SettingsDialog(QString(), workbench, parent)
{
    const ControllerKind& kind = *workbench.LiveSettings().mode->controller;
    setWindowTitle(Q(std::string("Correcteur : ") + kind.label));
    for (const ParameterDef* def : ParametersOf(Role::Controller)) AddParameter(*def);
    if (!kind.hasActions) return;
    for (std::size_t i = 0; i < m_actions.size(); ++i) {
        int state = 0;
        {
            std::lock_guard lock(workbench.Lock());
            workbench.LiveElements().controller->LitEtat(kFirstAction + static_cast<int>(i), state);
        }
        m_actions[i] = new QCheckBox(Q(kActions[i].label), this);
        m_actions[i]->setObjectName(QString(QChar(kActions[i].letter)));
        m_actions[i]->setChecked(state == 1);
        AddRow({}, m_actions[i]);
    }
    m_initialLetters = Letters();
}

std::string ControllerDialog::Letters() const
{
    std::string letters;
    for (std::size_t i = 0; i < m_actions.size(); ++i)
        if (m_actions[i] && m_actions[i]->isChecked()) letters += kActions[i].letter;
    return letters;
}

std::string ControllerDialog::Apply(const Values& values)
{
    const std::string letters = Letters();
    if (m_actions[0]) {
        const auto has = [&](char letter) { return letters.find(letter) != std::string::npos; };
        if (!(has('P') || has('I') || has('D')))
            return "Choisissez au moins une action : proportionnelle, int\xE9grale ou d\xE9riv\xE9" "e.";
        if (has('M') && !has('D')) return "La d\xE9riv\xE9" "e sur la mesure demande l'action d\xE9riv\xE9" "e.";
    }
    if (const Workbench::Values changed = ParameterValues(values); !changed.empty())
        if (std::string error = m_workbench.SetParameters(changed); !error.empty()) return error;
    if (letters != m_initialLetters) return m_workbench.SetActions(letters);
    return {};
}

}  // namespace banc::window
