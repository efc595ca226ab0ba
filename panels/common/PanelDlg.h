#pragma once

#include <memory>
#include <string>

#include <QDialog>
#include <QTimer>

#include "PanelVariant.h"
#include "Process.h"

class QAbstractButton;

// A station's panel: indicators for the card's input bits, check boxes for
// its output bits, the card's identification and the port choice. Built
// entirely from the station's table.
class CPanelDlg : public QDialog {
    Q_OBJECT

public:
    explicit CPanelDlg(const PanelVariant& variant, QWidget* parent = nullptr);
    ~CPanelDlg() override;

    // The whole life: start the process, run the dialog, stop the process.
    int DoModal();

    // The same steps one by one, for a caller with its own event loop.
    void StartProcess();
    void StopProcess();
    // Timer 1's first period; each cycle then restarts it for a second.
    void StartTimer();

    CProcess* Process() const { return m_pProcess.get(); }
    bool Connecte() const { return m_connecte; }
    QTimer& Timer1() { return m_timer; }

public slots:
    void OnTimer();
    void OnConnect();
    void OnPort();
    void OnAbout();

private:
    void BuildControls();
    void OnOutput(const PanelBit& output, bool checked);
    void ShowText(int id, const std::string& text);
    std::string EtatText() const;
    std::string InputsText() const;
    void UpdateIndicators();
    bool Bit(int byte, int bit) const;
    QAbstractButton* Button(int id) const;

    const PanelVariant& m_variant;
    std::unique_ptr<CProcess> m_pProcess;
    bool m_connecte = false;
    QTimer m_timer;
};
