#include "SelPort.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QPushButton>
#include <QSerialPortInfo>
#include <QVBoxLayout>

#include "DialogUnits.h"
#include "tarvic/platform/SerialPort.h"

std::vector<std::string> PortChoices(const std::vector<std::string>& devicePaths)
{
    std::vector<std::string> names;
    for (const auto& path : devicePaths) {
        const std::string name = tarvic::SerialPort::PortName(path);
        if (!name.empty() && name[0] == 'C') names.push_back(name);
    }
    return names;
}

namespace {

std::vector<std::string> PresentDevices()
{
    std::vector<std::string> paths;
    for (const QSerialPortInfo& info : QSerialPortInfo::availablePorts())
        paths.push_back(info.systemLocation().toStdString());
    return paths;
}

}  // namespace

CSelPort::CSelPort(const PanelVariant& variant, const std::string& port, QWidget* parent)
    : QDialog(parent), m_combo(new QComboBox(this)), m_port(port)
{
    setFont(DialogFont());
    setWindowTitle(QString::fromLatin1(variant.portDialogCaption));

    m_combo->setObjectName(QString::number(variant.portComboId));
    m_combo->setEditable(true);
    for (const auto& name : PortChoices(PresentDevices())) m_combo->addItem(QString::fromLatin1(name));
    m_combo->setEditText(QString::fromLatin1(m_port));

    auto* valider = new QPushButton(QStringLiteral("&Valider"), this);
    auto* annuler = new QPushButton(QStringLiteral("&Annuler"), this);
    valider->setObjectName(QStringLiteral("1"));  // the host's OK and cancel commands
    annuler->setObjectName(QStringLiteral("2"));
    valider->setDefault(true);
    connect(valider, &QPushButton::clicked, this, &CSelPort::accept);
    connect(annuler, &QPushButton::clicked, this, &CSelPort::reject);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(valider);
    buttons->addWidget(annuler);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_combo);
    layout->addLayout(buttons);
}

void CSelPort::accept()
{
    m_port = m_combo->currentText().toLatin1().toStdString();
    QDialog::accept();
}
