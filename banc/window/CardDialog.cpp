#include "window/CardDialog.h"

#include <QComboBox>
#include <QRadioButton>

#include "window/Latin1.h"

namespace banc::window {
namespace {

constexpr float kSlowest = 0.1f, kFastest = 1000.0f;

}  // namespace

CardDialog::CardDialog(Workbench& workbench, const std::vector<SerialDevice>& devices, QWidget* parent)
    : ParameterDialog(QStringLiteral("Choix de la carte"), parent), m_workbench(workbench),
      m_embedded(new QRadioButton(Q("Carte simul\xE9" "e, lanc\xE9" "e par le programme"), this)),
      m_onPort(new QRadioButton(Q("Carte sur un port s\xE9rie"), this)), m_ports(new QComboBox(this))
{
    const CardChoice& card = workbench.CardChosen();
    m_embedded->setObjectName(QStringLiteral("simulee"));
    m_onPort->setObjectName(QStringLiteral("port"));
    m_ports->setObjectName(QStringLiteral("ports"));
    m_ports->setEditable(true);
    for (const PortEntry& entry : PortEntries(devices)) m_ports->addItem(Q(entry.label), Q(entry.name));
    m_ports->setEditText(Q(card.port));
    // A line of the list stands for its port's name.
    connect(m_ports, &QComboBox::activated, this,
            [this](int index) { m_ports->setEditText(m_ports->itemData(index).toString()); });
    (card.embedded ? m_embedded : m_onPort)->setChecked(true);
    AddRow({}, m_embedded);
    AddField(kSpeedField, "Vitesse de la carte simul\xE9" "e (fois le temps r\xE9" "el)",
             static_cast<float>(card.speed), kSlowest, kFastest, 2);
    AddRow({}, m_onPort);
    AddRow(QStringLiteral("Port"), m_ports);
}

std::string CardDialog::Apply(const Values& values)
{
    CardChoice card;
    card.embedded = m_embedded->isChecked();
    card.speed = values.at(kSpeedField);
    card.port = Latin1(m_ports->currentText().trimmed());
    if (!card.embedded && card.port.empty()) return "Choisissez le port de la carte, ou tapez son chemin.";
    return m_workbench.UseCard(card);
}

}  // namespace banc::window
