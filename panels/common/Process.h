#pragma once

#include <array>
#include <atomic>
#include <cstdint>
#include <list>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "Journal.h"
#include "Message.h"
#include "PanelVariant.h"
#include "tarvic/platform/Event.h"
#include "tarvic/serial/ComThread.h"

// How long a panel waits for a reply and for its port; tests shorten them.
struct LinkTimings {
    static constexpr std::uint32_t kReplyTimeoutMs = 2000;
    // Writes of one command after its first, each after a reply time-out.
    static constexpr int kMaxResends = 2;

    std::uint32_t replyTimeoutMs = kReplyTimeoutMs;
    std::uint32_t reopenPeriodMs = CComThread::kPeriodeReouvertureMs;
};

class CProcess;

// Steps of the sending thread where a test build lets a test step in.
enum class EnvoiStep {
    HeadRetired,  // an answered head has left the queue, the next is not sent yet
    SentOnReply,  // the next line after a reply has been sent (if there was one)
    SentOnFile,   // woken through m_evFile, the next line has been sent (if there was one)
};

#ifdef TARVIC_TEST_HOOKS
// Test builds only: a test watches the queue at every change and forces
// interleavings of the sending thread with the others.
struct ProcessHooks {
    // Under the queue's lock, with the queue as it now is.
    void (*queueChanged)(const std::list<std::unique_ptr<CMessage>>& file) = nullptr;
    // On the sending thread, outside the lock.
    void (*envoiStep)(CProcess& process, EnvoiStep step) = nullptr;
};
void SetProcessHooks(ProcessHooks hooks);
#endif

// The panel's side of the card link: a queue of command lines, sent one at a
// time by a sending thread of its own, each retired when the reading thread
// delivers the reply or acknowledgement that matches it. The station table
// says where the input bytes are in the reply and how many output bytes go out.
//
// A command left without reply is written again after each time-out, at most
// kMaxResends times, then dropped: the card is then taken as gone, like a
// lost port. Either way the queue is emptied (the waiting lines are stale: the
// panel greets the card again and sends its outputs once it is back), the
// identification and the inputs are cleared, and the port is reopened.
// A line the port does not take (no port) was never sent: it leaves the
// queue at once, neither journaled nor awaited.
class CProcess : public CComThread {
public:
    // Port from the profile, like the base; reopened when lost.
    explicit CProcess(const PanelVariant& variant, LinkTimings timings = {});
    ~CProcess() override;

    // Lets the lines through to TraiteRecept and starts the sending thread.
    bool Demarre();
    void Ordre(const std::string& text);
    void Demande(const std::string& text);
    void AjouteMessage(const std::string& line);
    // Sends every output byte in one order.
    void EnvoiSorties();
    // Writes the closing order through the sending thread, then stops both threads.
    int ExitInstance() override;
    void TraiteRecept(std::string line) override;

    std::string LitVersion() const;
    // Whether the card has identified itself, without taking the queue's lock.
    bool Identifiee() const { return m_identifiee; }
    // The journal's note when the card is given up for it, and the panel's status until it identifies itself.
    static constexpr char kRefus[] = "La carte r\xE9pond par une erreur";
    // Whether the card was last given up for answering its queries with an error, until it identifies itself.
    bool LitRefus() const { return m_refus; }
    int LitEntree(int index) const { return m_entree[static_cast<std::size_t>(index)]; }
    int LitEtat() const { return m_etat; }
    int LitSortie(int index) const { return m_sortie[static_cast<std::size_t>(index)]; }
    void SetSortieBit(int byte, int bit, bool on);
    bool EnvoiActif() const { return m_envoiActif; }
    // A copy of the queue, head first, for the curious (tests, diagnostics).
    std::vector<CMessage> LitFile() const;
    // The traffic and its counts; a journal window may keep it past the process.
    std::shared_ptr<const CJournal> Journal() const { return m_journal; }
    // A line of the panel's own in the journal, among the card's traffic.
    void Note(std::string_view text) { m_journal->Note(text); }

private:
    // The head as the sending thread wrote it: when, and how many times.
    struct EnVol {
        std::uint32_t ecritA = 0;
        int ecritures = 0;  // 0: nothing of ours in flight
    };

    void Envoi();
    void EnvoiSuivant(EnVol& enVol);
    void RetireTete(EnVol& enVol);
    void DelaiDepasse(EnVol& enVol);
    void CartePerdue(EnVol& enVol, const char* why);
    std::uint32_t Attente(const EnVol& enVol) const;
    // False when the port did not take the line.
    bool Ecrit(const std::string& line);
    // Under m_lock. True when the line is now the queue's only one.
    bool AjouteMessageLocked(const std::string& line);
    void VideFileLocked();
    std::string ProchainAEnvoyer();
    void LitEntrees(const std::string& line, int lel);

    const PanelVariant& m_variant;
    std::atomic<int> m_etat{0};
    std::array<std::atomic<int>, PanelVariant::kMaxSorties> m_sortie{};
    std::array<std::atomic<int>, PanelVariant::kMaxEntrees> m_entree{};
    std::string m_version;
    std::atomic<bool> m_identifiee{false};  // m_version is not empty
    std::atomic<bool> m_envoiActif{false};
    std::list<std::unique_ptr<CMessage>> m_file;
    std::atomic<bool> m_fin{false};
    CEvent m_evReponse;
    CEvent m_evAcquit;
    CEvent m_evFile;
    CEvent m_evFin;
    std::thread m_pEnvoi;
    mutable std::mutex m_lock;         // the queue, m_version and the three flags below
    bool m_teteRepondue = false;       // the reply event for the head is set or about to be
    bool m_perdue = false;             // an identified card was lost: its next "VER" is a reconnection
    bool m_teteRefusee = false;        // the card answered the query at the head with an error
    std::atomic<bool> m_refus{false};  // the card was last dropped for answering with errors
    const LinkTimings m_timings;
    std::shared_ptr<CJournal> m_journal = std::make_shared<CJournal>();
};
