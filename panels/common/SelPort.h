#pragma once

#include <functional>
#include <string>
#include <vector>

#include <QDialog>
#include <QString>

#include "PanelVariant.h"

class QComboBox;
class QLabel;

// The port names to propose for the machine's serial devices, in device
// order: each under its stable "COMn" name, devices outside that naming left
// out, and only names beginning with "C".
std::vector<std::string> PortChoices(const std::vector<std::string>& devicePaths);

// A serial device present on the machine, as the system describes it.
struct PortDevice {
    std::string path;  // file-name encoding
    QString description;
    QString manufacturer;
    QString serialNumber;
};

// One line of the port list: the name stored when it is chosen and its device.
struct PortEntry {
    std::string name;  // "COMn", or an alias path under the alias folder
    const PortDevice* device;
};

// Every device under its "COMn" name (PortChoices), each followed by the
// aliases that lead to it in `aliasFolder` (sorted), in device order.
std::vector<PortEntry> PortEntries(const std::vector<PortDevice>& devices,
                                   const std::string& aliasFolder = "/dev/serial/by-id");

// "Choix du port": an editable list of the machine's serial ports with their
// device, description, maker and serial number. The user may also type a
// name that is not listed, a device path for instance.
class CSelPort : public QDialog {
    Q_OBJECT

public:
    // Stores an accepted choice: empty when done, else why not (the dialog then stays open).
    using Saver = std::function<QString(const std::string& port)>;

    CSelPort(const PanelVariant& variant, const std::string& port, QWidget* parent = nullptr,
             std::vector<PortDevice> devices = PresentDevices(), const std::string& aliasFolder = "/dev/serial/by-id");

    static std::vector<PortDevice> PresentDevices();

    void SetSaver(Saver saver) { m_saver = std::move(saver); }
    // The combo box's text once the dialog has been accepted.
    const std::string& LitPort() const { return m_port; }
    QComboBox* Combo() const { return m_combo; }
    // The reason the last choice could not be stored, or empty.
    QString LitErreur() const;

    void accept() override;

private:
    void FillList(const std::string& aliasFolder);
    std::string ChosenPort() const;

    QComboBox* m_combo;
    QLabel* m_erreur;
    std::vector<PortDevice> m_devices;
    std::vector<PortEntry> m_entries;
    std::string m_port;
    Saver m_saver;
};
