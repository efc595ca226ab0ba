#pragma once

#include <array>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include <QDialog>
#include <QPointer>
#include <QTimer>

#include "PanelVariant.h"
#include "Process.h"

class CJournalDlg;
class CPanelRoom;
class QAbstractButton;
class QGroupBox;
class QLineEdit;
class QMessageBox;
struct StationReport;

// A station's panel: indicators for the card's input bits, check boxes for
// its output bits, the card's identification and the port choice. Built
// entirely from the station's table.
//
// While the card is not identified (not yet, or no more: no reply, port lost)
// the panel waits: no identification, the status line says why (the port's
// trouble, or "Mis en communication..."), the indicators and the outputs are
// greyed (what they show is not the station's present state), and each
// cycle greets the card once its port is open. Identified again after a
// loss, it sends the outputs the check boxes show, which a card that was
// reset has forgotten.
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
    // Before StartProcess: the link's time-outs (tests shorten them).
    void SetTimings(LinkTimings timings) { m_timings = timings; }
    // The room the panel reports to each cycle and takes its orders from.
    void SetRoom(CPanelRoom* room);

    const PanelVariant& Variant() const { return m_variant; }
    CProcess* Process() const { return m_pProcess.get(); }
    bool Connecte() const { return m_connecte; }
    QTimer& Timer1() { return m_timer; }
    // Closed because another port was chosen: the program opens the panel again.
    bool PortChange() const { return m_portChange; }
    CJournalDlg* JournalWindow() const { return m_journal; }
    // The room's last message, while it is shown.
    QMessageBox* RoomMessage() const;

public slots:
    void OnTimer();
    void OnConnect();
    void OnPort();
    void OnAbout();
    void OnJournal();
    // The room's orders: every output off, as the user would untick each box; a message.
    void OnRoomStop();
    void OnRoomMessage(const QString& text);

private:
    void BuildControls();
    void BuildMenu();
    void OnOutput(const PanelBit& output, bool checked);
    void Identifie(const std::string& version);
    void CartePerdue();
    void SetConnecte(bool connecte);
    QString WaitingText() const;
    void ShowLatin1(int id, std::string_view text);
    void ShowText(int id, const QString& text);
    const char* EtatText() const;
    std::string InputsText() const;
    void UpdateIndicators();
    bool Bit(int byte, int bit) const;
    QAbstractButton* Button(int id) const;
    StationReport Station() const;
    void ShowRoomBox(const QString& text);

    const PanelVariant& m_variant;
    std::unique_ptr<CProcess> m_pProcess;
    bool m_connecte = false;
    long m_reconnexions = 0;  // of the process, when the card was last identified
    bool m_portChange = false;
    QTimer m_timer;
    LinkTimings m_timings;
    QGroupBox* m_inputs = nullptr;
    QGroupBox* m_outputs = nullptr;
    // Looked up once: the cycle touches them every second.
    struct Edit {
        int id;
        QLineEdit* edit;
        // The Latin-1 text it shows, when it came as such: the same text
        // again is recognised without building a QString.
        std::optional<std::string> shown;
    };
    std::vector<Edit> m_edits;
    std::vector<std::pair<const PanelBit*, QAbstractButton*>> m_indicators;
    // The input bytes the indicators show; none until they are first set.
    using Inputs = std::array<int, PanelVariant::kMaxEntrees>;
    std::optional<Inputs> m_shown;
    CJournalDlg* m_journal = nullptr;
    CPanelRoom* m_room = nullptr;
    QPointer<QMessageBox> m_message;
};
