#pragma once

#include "window/ParameterDialog.h"
#include "window/PortList.h"
#include "window/Workbench.h"

class QComboBox;
class QRadioButton;

namespace banc::window {

// "Choix de la carte": the embedded simulated card and its speed, or a card
// on a serial port chosen among the machine's (COMn names, device paths,
// what the system says of each) or typed.
class CardDialog : public ParameterDialog {
    Q_OBJECT

public:
    static constexpr int kSpeedField = 1;

    CardDialog(Workbench& workbench, const std::vector<SerialDevice>& devices, QWidget* parent);
    QComboBox* Ports() const { return m_ports; }
    QRadioButton* Embedded() const { return m_embedded; }
    QRadioButton* OnPort() const { return m_onPort; }

protected:
    std::string Apply(const Values& values) override;

private:
    Workbench& m_workbench;
    QRadioButton* m_embedded;
    QRadioButton* m_onPort;
    QComboBox* m_ports;
};

}  // namespace banc::window
