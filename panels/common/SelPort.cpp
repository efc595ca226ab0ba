#include "SelPort.h"

#include <algorithm>
#include <filesystem>
#include <map>

#include <QComboBox>
#include <QFile>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QSerialPortInfo>
#include <QStandardItemModel>
#include <QTreeView>
#include <QVBoxLayout>

#include "DialogUnits.h"
#include "PortChoice.h"
#include "tarvic/platform/SerialPort.h"

namespace fs = std::filesystem;

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

// Device path -> the aliases that lead to it, sorted. The links are relative
// ("../../ttyUSB0") and their device may be gone: resolved by name only.
std::map<std::string, std::vector<std::string>> Aliases(const std::string& folder)
{
    std::map<std::string, std::vector<std::string>> aliases;
    std::error_code error;
    for (const auto& entry : fs::directory_iterator(folder, error)) {
        if (!entry.is_symlink(error)) continue;
        const fs::path target = fs::read_symlink(entry.path(), error);
        if (error) continue;
        const fs::path device =
            (target.is_absolute() ? target : entry.path().parent_path() / target).lexically_normal();
        aliases[device.string()].push_back(entry.path().string());
    }
    for (auto& [device, names] : aliases) std::sort(names.begin(), names.end());
    return aliases;
}

enum Column { kName, kDevice, kDescription, kManufacturer, kSerialNumber, kColumns };

}  // namespace

std::vector<PortEntry> PortEntries(const std::vector<PortDevice>& devices, const std::string& aliasFolder)
{
    const auto aliases = Aliases(aliasFolder);
    std::vector<PortEntry> entries;
    for (const PortDevice& device : devices) {
        for (const auto& name : PortChoices({device.path})) entries.push_back({name, &device});
        if (const auto found = aliases.find(device.path); found != aliases.end())
            for (const auto& alias : found->second) entries.push_back({alias, &device});
    }
    return entries;
}

std::vector<PortDevice> CSelPort::PresentDevices()
{
    std::vector<PortDevice> devices;
    for (const QSerialPortInfo& info : QSerialPortInfo::availablePorts())
        devices.push_back({QFile::encodeName(info.systemLocation()).toStdString(), info.description(),
                           info.manufacturer(), info.serialNumber()});
    return devices;
}

CSelPort::CSelPort(const PanelVariant& variant, const std::string& port, QWidget* parent,
                   std::vector<PortDevice> devices, const std::string& aliasFolder)
    : QDialog(parent), m_combo(new QComboBox(this)), m_erreur(new QLabel(this)), m_devices(std::move(devices)),
      m_port(port)
{
    setFont(DialogFont());
    setWindowTitle(QString::fromLatin1(variant.portDialogCaption));

    m_combo->setObjectName(QString::number(variant.portComboId));
    m_combo->setEditable(true);
    FillList(aliasFolder);
    m_combo->setEditText(PortToQt(m_port));

    m_erreur->setWordWrap(true);
    m_erreur->setStyleSheet(QStringLiteral("color: #b00000"));
    m_erreur->hide();

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
    layout->addWidget(m_erreur);
    layout->addLayout(buttons);
}

void CSelPort::FillList(const std::string& aliasFolder)
{
    m_entries = PortEntries(m_devices, aliasFolder);
    auto* model = new QStandardItemModel(0, kColumns, m_combo);
    model->setHorizontalHeaderLabels({QStringLiteral("Port"), QString::fromLatin1("P\xE9riph\xE9rique"),
                                      QStringLiteral("Description"), QStringLiteral("Fabricant"),
                                      QString::fromLatin1("N\xB0 de s\xE9rie")});
    for (const PortEntry& entry : m_entries) {
        QList<QStandardItem*> row;
        for (const QString& text : {PortToQt(entry.name), PortToQt(entry.device->path), entry.device->description,
                                    entry.device->manufacturer, entry.device->serialNumber})
            row.append(new QStandardItem(text));
        model->appendRow(row);
    }
    // The edit field shows the name; the open list shows every column.
    auto* view = new QTreeView(m_combo);
    view->setRootIsDecorated(false);
    view->setAllColumnsShowFocus(true);
    m_combo->setModel(model);
    m_combo->setView(view);
    m_combo->setModelColumn(kName);
    int width = 0;
    for (int column = 0; column < kColumns; ++column) {
        view->resizeColumnToContents(column);
        width += view->columnWidth(column);
    }
    view->setMinimumWidth(width + view->frameWidth() * 2);
}

std::string CSelPort::ChosenPort() const
{
    // A listed name keeps its exact bytes, even those no text encoding gives back.
    const QString text = m_combo->currentText();
    for (const PortEntry& entry : m_entries)
        if (PortToQt(entry.name) == text) return entry.name;
    return PortFromQt(text);
}

QString CSelPort::LitErreur() const { return m_erreur->isHidden() ? QString() : m_erreur->text(); }

void CSelPort::accept()
{
    m_port = ChosenPort();
    if (m_saver) {
        const QString erreur = m_saver(m_port);
        if (!erreur.isEmpty()) {
            m_erreur->setText(erreur);
            m_erreur->show();
            // The reason wraps over as many lines as it takes: the dialog grows to show them all.
            layout()->activate();
            resize(width(), std::max(height(), heightForWidth(width())));
            return;
        }
    }
    QDialog::accept();
}
