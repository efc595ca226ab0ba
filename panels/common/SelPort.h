#pragma once

#include <string>
#include <vector>

#include <QDialog>

#include "PanelVariant.h"

class QComboBox;

// The port names to propose for the machine's serial devices, in device
// order: each under its stable "COMn" name, devices outside that naming left
// out, and only names beginning with "C".
std::vector<std::string> PortChoices(const std::vector<std::string>& devicePaths);

// "Choix du port": an editable list of the machine's serial ports. The user
// may also type a name that is not listed, a device path for instance.
class CSelPort : public QDialog {
    Q_OBJECT

public:
    CSelPort(const PanelVariant& variant, const std::string& port, QWidget* parent = nullptr);

    // The combo box's text once the dialog has been accepted (Latin-1).
    const std::string& LitPort() const { return m_port; }
    QComboBox* Combo() const { return m_combo; }

    void accept() override;

private:
    QComboBox* m_combo;
    std::string m_port;
};
