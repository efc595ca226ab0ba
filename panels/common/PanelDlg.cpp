#include "PanelDlg.h"

#include <functional>
#include <utility>

#include <QAction>
#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "AboutDlg.h"
#include "DialogUnits.h"
#include "JournalDlg.h"
#include "PanelIcon.h"
#include "PanelRoom.h"
#include "PortChoice.h"
#include "PortStatus.h"
#include "SelPort.h"
#include "tarvic/platform/Profile.h"

namespace {

constexpr int kPeriodMs = 1000;
constexpr char kWaiting[] = "Mis en communication...";
constexpr char kEstablished[] = "Communcation \xE9tablie";
constexpr int kAboutCommand = 16;

QString Latin1(const char* text) { return QString::fromLatin1(text); }

// One column per byte, bit 7 at the top, so that a byte reads as it is written.
QGroupBox* BitGroup(QWidget* parent, const char* title, std::span<const PanelBit> bits,
                    const std::function<QAbstractButton*(const PanelBit&)>& make)
{
    auto* group = new QGroupBox(Latin1(title), parent);
    auto* grid = new QGridLayout(group);
    for (const PanelBit& bit : bits) {
        QAbstractButton* button = make(bit);
        button->setObjectName(QString::number(bit.id));
        grid->addWidget(button, 7 - bit.bit, bit.byte);
    }
    grid->setRowStretch(8, 1);
    return group;
}

}  // namespace

CPanelDlg::CPanelDlg(const PanelVariant& variant, QWidget* parent) : QDialog(parent), m_variant(variant)
{
    setFont(DialogFont());
    setWindowTitle(Latin1(variant.caption));
    setWindowIcon(PanelIcon());
    BuildControls();
    BuildMenu();
    resize(DialogUnitsToPixels(font(), variant.size).expandedTo(minimumSizeHint()));

    // Repeating: each cycle would otherwise give its timer back to the event
    // loop and take a new one.
    connect(&m_timer, &QTimer::timeout, this, &CPanelDlg::OnTimer);
}

CPanelDlg::~CPanelDlg() { StopProcess(); }

void CPanelDlg::BuildControls()
{
    m_inputs = BitGroup(this, m_variant.inputGroupTitle, m_variant.indicators, [this](const PanelBit& bit) {
        auto* radio = new QRadioButton(Latin1(bit.text), this);
        radio->setAutoExclusive(false);  // each indicator is a group of its own
        // A click changes what it shows: the next cycle sets it back.
        connect(radio, &QRadioButton::clicked, this, [this] { m_shown.reset(); });
        m_indicators.emplace_back(&bit, radio);
        return radio;
    });
    m_outputs = BitGroup(this, m_variant.outputGroupTitle, m_variant.outputs, [this](const PanelBit& bit) {
        auto* box = new QCheckBox(Latin1(bit.text), this);
        connect(box, &QCheckBox::clicked, this, [this, &bit](bool checked) { OnOutput(bit, checked); });
        return box;
    });
    // Until the card has identified itself: what the indicators show is not the station's present state.
    m_inputs->setEnabled(false);
    m_outputs->setEnabled(false);
    auto* groups = new QHBoxLayout;
    groups->addWidget(m_inputs, m_variant.entreeCount);
    groups->addWidget(m_outputs, m_variant.sortieCount);

    auto* texts = new QVBoxLayout;
    for (const int id : {m_variant.identId, m_variant.statusId, m_variant.etatId}) {
        if (id == PanelVariant::kNoControl || findChild<QLineEdit*>(QString::number(id))) continue;
        auto* edit = new QLineEdit(this);
        edit->setObjectName(QString::number(id));
        edit->setReadOnly(true);
        texts->addWidget(edit);
        m_edits.push_back({id, edit, std::nullopt});
    }

    auto* buttons = new QHBoxLayout;
    const auto addButton = [this, buttons](int id, const char* text, void (CPanelDlg::*slot)()) {
        auto* button = new QPushButton(Latin1(text), this);
        button->setObjectName(QString::number(id));
        button->setAutoDefault(false);
        connect(button, &QPushButton::clicked, this, slot);
        buttons->addWidget(button);
        return button;
    };
    if (m_variant.connectId != PanelVariant::kNoControl)
        addButton(m_variant.connectId, "Connect...", &CPanelDlg::OnConnect)->setEnabled(false);
    addButton(m_variant.portButtonId, m_variant.portButtonText, &CPanelDlg::OnPort);
    buttons->addStretch();
    // Stands for the system-menu item, command 16.
    if (m_variant.aboutMenuText) addButton(kAboutCommand, m_variant.aboutMenuText, &CPanelDlg::OnAbout);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(groups, 1);
    layout->addLayout(texts);
    layout->addLayout(buttons);
}

// The window's own menu (a right click stands for the system menu): the
// traffic journal, Ctrl+J from anywhere in the panel, and the about box.
void CPanelDlg::BuildMenu()
{
    setContextMenuPolicy(Qt::ActionsContextMenu);
    auto* journal = new QAction(Latin1("&Journal des \xE9" "changes..."), this);
    journal->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_J));
    journal->setShortcutContext(Qt::WindowShortcut);
    connect(journal, &QAction::triggered, this, &CPanelDlg::OnJournal);
    addAction(journal);
    if (m_variant.aboutMenuText) {
        auto* about = new QAction(Latin1(m_variant.aboutMenuText), this);
        connect(about, &QAction::triggered, this, &CPanelDlg::OnAbout);
        addAction(about);
    }
}

int CPanelDlg::DoModal()
{
    StartProcess();
    StartTimer();
    exec();
    m_timer.stop();
    StopProcess();
    return 0;
}

void CPanelDlg::StartProcess()
{
    if (m_pProcess) return;
    m_pProcess = std::make_unique<CProcess>(m_variant, m_timings);
    m_pProcess->CreateThread();
    m_pProcess->Demarre();
    if (m_journal) m_journal->Suivre(m_pProcess->Journal());
}

void CPanelDlg::StopProcess()
{
    if (!m_pProcess) return;
    m_pProcess->ExitInstance();
    m_pProcess.reset();
}

void CPanelDlg::StartTimer() { m_timer.start(m_variant.cycle.firstPeriodMs); }

void CPanelDlg::OnTimer()
{
    if (!m_pProcess) {
        m_timer.stop();
        return;
    }
    CProcess& process = *m_pProcess;

    if (m_connecte && !process.Identifiee()) CartePerdue();
    // Without a port nobody is greeted or polled: a card that comes gets "VER" first.
    const bool port = process.hcom.IsOpen();
    if (!m_connecte) {
        if (const std::string version = process.LitVersion(); !version.empty()) {
            Identifie(version);
        } else {
            ShowText(m_variant.statusId, WaitingText());
            if (port) process.Demande("VER");
        }
    }
    if (m_variant.etatId != PanelVariant::kNoControl) ShowLatin1(m_variant.etatId, EtatText());
    if (m_connecte || !m_variant.cycle.lelOnlyWhenIdentified) {
        if (port) process.Demande("LEL");
        if (m_variant.cycle.statusShowsInputs) ShowLatin1(m_variant.statusId, InputsText());
        UpdateIndicators();
    }
    if (port && m_variant.cycle.queryAruEachCycle) process.Demande("ARU");
    if (m_room) m_room->Report(Station());
    if (!m_timer.isActive() || m_timer.interval() != kPeriodMs) m_timer.start(kPeriodMs);
}

void CPanelDlg::Identifie(const std::string& version)
{
    CProcess& process = *m_pProcess;
    SetConnecte(true);
    ShowLatin1(m_variant.identId, version);
    if (!m_variant.cycle.emdOnVerReply) process.Ordre("EMD 1");
    // A card back from a reset has its outputs off: make them what the boxes show.
    const long reconnexions = process.Journal()->LitStatistiques().reconnexions;
    if (std::exchange(m_reconnexions, reconnexions) != reconnexions) process.EnvoiSorties();
    if (m_variant.cycle.statusShowsInputs) ShowLatin1(m_variant.statusId, kEstablished);
}

void CPanelDlg::CartePerdue()
{
    SetConnecte(false);
    ShowLatin1(m_variant.identId, "");
    UpdateIndicators();  // the process has cleared the inputs it no longer knows
}

void CPanelDlg::SetConnecte(bool connecte)
{
    m_connecte = connecte;
    m_inputs->setEnabled(connecte);
    m_outputs->setEnabled(connecte);
    if (auto* connect = Button(m_variant.connectId)) connect->setEnabled(connecte);
}

QString CPanelDlg::WaitingText() const
{
    if (const int error = m_pProcess->LitErreurPort()) return PortStatusText(m_pProcess->LitPort(), error);
    if (m_pProcess->LitRefus()) return Latin1(CProcess::kRefus);
    return Latin1(kWaiting);
}

void CPanelDlg::OnConnect()
{
    if (auto* connect = Button(m_variant.connectId)) connect->setEnabled(false);
    m_connecte = false;
}

void CPanelDlg::OnPort()
{
    auto profile = tarvic::GetProfile();
    CSelPort dialog(m_variant, profile->GetProfileString("CONFIGURATION", "PORT", m_variant.portDialogDefault), this);
    // What the profile falls back to when the card's record cannot follow the choice.
    const std::string enCours =
        m_pProcess ? m_pProcess->LitPort() : profile->GetProfileString("CONFIGURATION", "PORT", "COM1");
    dialog.SetSaver([&profile, &enCours](const std::string& port) { return SavePortChoice(*profile, port, enCours); });
    if (dialog.exec() != QDialog::Accepted) return;
    // The port is read when the process starts: the program opens the panel
    // again at once, on the new port.
    m_portChange = true;
    reject();
}

void CPanelDlg::OnAbout()
{
    if (!m_variant.aboutText) return;
    CAboutDlg(m_variant, this).exec();
}

void CPanelDlg::OnJournal()
{
    if (!m_journal) m_journal = new CJournalDlg(m_variant.name, this);
    if (m_pProcess) m_journal->Suivre(m_pProcess->Journal());
    m_journal->show();
    m_journal->raise();
    m_journal->activateWindow();
}

void CPanelDlg::SetRoom(CPanelRoom* room)
{
    m_room = room;
    connect(room, &CPanelRoom::stopAsked, this, &CPanelDlg::OnRoomStop);
    connect(room, &CPanelRoom::messageAsked, this, &CPanelDlg::OnRoomMessage);
    connect(room, &CPanelRoom::orderRefused, this, [this](const QString& why) {
        if (m_pProcess) m_pProcess->Note("Ordre de la salle refus\xE9 : " + why.toLatin1().toStdString());
    });
}

QMessageBox* CPanelDlg::RoomMessage() const { return m_message; }

void CPanelDlg::OnRoomStop()
{
    for (const PanelBit& output : m_variant.outputs) {
        if (QAbstractButton* box = Button(output.id)) box->setChecked(false);
        if (m_pProcess) m_pProcess->SetSortieBit(output.byte, output.bit, false);
    }
    if (m_pProcess) {
        m_pProcess->Note("Ordre de la salle : arr\xEAter");
        m_pProcess->EnvoiSorties();
    }
    ShowRoomBox(Latin1("La salle a arr\xEAt\xE9 la station : toutes ses sorties sont coup\xE9" "es."));
}

void CPanelDlg::OnRoomMessage(const QString& text)
{
    if (m_pProcess) m_pProcess->Note("Message de la salle : " + text.toLatin1().toStdString());
    ShowRoomBox(text);
}

void CPanelDlg::ShowRoomBox(const QString& text)
{
    // One box, whatever the number of messages: the last one shows.
    if (!m_message) {
        m_message = new QMessageBox(QMessageBox::Information, Latin1("Message de la salle"), {}, QMessageBox::Ok, this);
        m_message->setTextFormat(Qt::PlainText);  // the network's text is never markup
        m_message->setAttribute(Qt::WA_DeleteOnClose);
        m_message->setModal(false);
    }
    m_message->setText(text);
    m_message->show();
    m_message->raise();
}

void CPanelDlg::OnOutput(const PanelBit& output, bool checked)
{
    if (!m_pProcess) return;
    m_pProcess->SetSortieBit(output.byte, output.bit, checked);
    m_pProcess->EnvoiSorties();
}

void CPanelDlg::ShowLatin1(int id, std::string_view text)
{
    for (Edit& edit : m_edits) {
        if (edit.id != id || edit.shown == text) continue;
        edit.shown = text;
        const QString shown = QString::fromLatin1(text);
        if (edit.edit->text() != shown) edit.edit->setText(shown);
    }
}

void CPanelDlg::ShowText(int id, const QString& text)
{
    for (Edit& edit : m_edits) {
        if (edit.id != id) continue;
        edit.shown.reset();
        if (edit.edit->text() != text) edit.edit->setText(text);
    }
}

const char* CPanelDlg::EtatText() const
{
    if (m_variant.etatAlarmText && Bit(m_variant.etatAlarmByte, m_variant.etatAlarmBit)) return m_variant.etatAlarmText;
    const int etat = m_pProcess->LitEtat();
    if (etat < 0 || etat >= static_cast<int>(m_variant.etatTexts.size())) return "";
    return m_variant.etatTexts[static_cast<std::size_t>(etat)];
}

std::string CPanelDlg::InputsText() const
{
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string text = "LEL";
    for (int byte = m_variant.entreeCount - 1; byte >= 0; --byte) {
        const int value = m_pProcess->LitEntree(byte) & 0xFF;
        text += {' ', kHex[value >> 4], kHex[value & 0xF]};
    }
    return text;
}

void CPanelDlg::UpdateIndicators()
{
    // The inputs rarely change from one second to the next: the buttons are
    // looked at only when they do.
    Inputs inputs{};
    for (std::size_t byte = 0; byte < inputs.size(); ++byte)
        inputs[byte] = m_pProcess->LitEntree(static_cast<int>(byte));
    if (std::exchange(m_shown, inputs) == inputs) return;
    for (const auto& [indicator, radio] : m_indicators) {
        const int byte = indicator->byte;
        const bool on = byte >= 0 && byte < PanelVariant::kMaxEntrees &&
                        (inputs[static_cast<std::size_t>(byte)] >> indicator->bit) & 1;
        if (radio->isChecked() != on) radio->setChecked(on);
    }
}

bool CPanelDlg::Bit(int byte, int bit) const
{
    if (byte < 0 || byte >= PanelVariant::kMaxEntrees) return false;
    return (m_pProcess->LitEntree(byte) >> bit) & 1;
}

StationReport CPanelDlg::Station() const
{
    const CProcess& process = *m_pProcess;
    StationReport station;
    for (int byte = 0; byte < m_variant.sortieCount; ++byte)
        station.outputs.push_back(static_cast<std::uint8_t>(process.LitSortie(byte)));
    // While the panel waits, the inputs it holds are not the station's.
    if (!m_connecte) {
        station.text = WaitingText().toLatin1().toStdString();
        return station;
    }
    for (int byte = 0; byte < m_variant.entreeCount; ++byte)
        station.inputs.push_back(static_cast<std::uint8_t>(process.LitEntree(byte)));
    const std::string version = process.LitVersion();
    station.card = version.substr(std::min(version.find_first_not_of(' '), version.size()));
    if (m_variant.etatId != PanelVariant::kNoControl) station.text = EtatText();
    return station;
}

QAbstractButton* CPanelDlg::Button(int id) const
{
    if (id == PanelVariant::kNoControl) return nullptr;
    return findChild<QAbstractButton*>(QString::number(id));
}
