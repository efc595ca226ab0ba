#include "window/BenchDialog.h"

#include <QCheckBox>
#include <QComboBox>

#include "window/Latin1.h"

namespace banc::window {
namespace {

template <class Choices>
QComboBox* ChoiceBox(const Choices& choices, const void* current, const char* name, QWidget* parent)
{
    auto* box = new QComboBox(parent);
    box->setObjectName(QString::fromLatin1(name));
    for (std::size_t i = 0; i < choices.size(); ++i) {
        box->addItem(Q(Capitalised(choices[i].label)), static_cast<int>(i));
        if (&choices[i] == current) box->setCurrentIndex(static_cast<int>(i));
    }
    return box;
}

}  // namespace

BenchDialog::BenchDialog(Workbench& workbench, QWidget* parent) : SettingsDialog(QString(), workbench, parent)
{
    const Settings& settings = workbench.LiveSettings();
    const Bench& bench = *settings.bench;
    setWindowTitle(Q(std::string("Banc : ") + bench.title));
    m_command = ChoiceBox(bench.commands, &settings.Command(), "commande", this);
    m_measure = ChoiceBox(bench.measures, &settings.Measure(), "mesure", this);
    m_routed = new QCheckBox(Q("Commande envoy\xE9" "e au banc (sinon isol\xE9" "e)"), this);
    m_routed->setObjectName(QStringLiteral("envoyee"));
    m_routed->setChecked(settings.routed);
    m_feedback = new QCheckBox(Q("Mesure reprise par le correcteur (boucle ferm\xE9" "e)"), this);
    m_feedback->setObjectName(QStringLiteral("retour"));
    m_feedback->setChecked(settings.feedback);
    AddRow(QStringLiteral("Commande"), m_command);
    AddRow({}, m_routed);
    AddRow(QStringLiteral("Mesure"), m_measure);
    if (settings.mode->controller->closedLoop)
        AddRow({}, m_feedback);
    else
        m_feedback->hide();
    for (const ParameterDef* def : ParametersOf(Role::Bench)) AddParameter(*def);
}

std::string BenchDialog::Apply(const Values& values)
{
    const Settings& settings = m_workbench.LiveSettings();
    const Bench& bench = *settings.bench;
    const CommandChoice& command = bench.commands[static_cast<std::size_t>(m_command->currentData().toInt())];
    const MeasureChoice& measure = bench.measures[static_cast<std::size_t>(m_measure->currentData().toInt())];
    const bool routed = m_routed->isChecked(), feedback = m_feedback->isChecked();
    if (&command != &settings.Command() || &measure != &settings.Measure() || routed != settings.routed ||
        feedback != settings.feedback)
        if (std::string error = m_workbench.SetWiring(command, measure, routed, feedback); !error.empty()) return error;
    if (const Workbench::Values changed = ParameterValues(values); !changed.empty())
        return m_workbench.SetParameters(changed);
    return {};
}

}  // namespace banc::window
