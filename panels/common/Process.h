#pragma once

#include <array>
#include <atomic>
#include <list>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "Message.h"
#include "PanelVariant.h"
#include "tarvic/platform/Event.h"
#include "tarvic/serial/ComThread.h"

// The panel's side of the card link: a queue of command lines, sent one at a
// time by a sending thread of its own, each retired when the reading thread
// delivers the reply or acknowledgement that matches it. The station table
// says where the input bytes are in the reply and how many output bytes go out.
class CProcess : public CComThread {
public:
    // Port from the profile, like the base.
    explicit CProcess(const PanelVariant& variant);
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
    int LitEntree(int index) const { return m_entree[static_cast<std::size_t>(index)]; }
    int LitEtat() const { return m_etat; }
    int LitSortie(int index) const { return m_sortie[static_cast<std::size_t>(index)]; }
    void SetSortieBit(int byte, int bit, bool on);
    bool EnvoiActif() const { return m_envoiActif; }
    // A copy of the queue, head first, for the curious (tests, diagnostics).
    std::vector<CMessage> LitFile() const;

private:
    void Envoi();
    // Under m_lock.
    void AjouteMessageLocked(const std::string& line);
    std::string ProchainAEnvoyer();
    void LitEntrees(const std::string& line, int lel);

    const PanelVariant& m_variant;
    std::atomic<int> m_etat{0};
    std::array<std::atomic<int>, PanelVariant::kMaxSorties> m_sortie{};
    std::array<std::atomic<int>, PanelVariant::kMaxEntrees> m_entree{};
    std::string m_version;
    std::atomic<bool> m_envoiActif{false};
    std::list<std::unique_ptr<CMessage>> m_file;
    std::atomic<bool> m_fin{false};
    CEvent m_evReponse;
    CEvent m_evAcquit;
    CEvent m_evFile;
    CEvent m_evFin;
    std::thread m_pEnvoi;
    mutable std::mutex m_lock;  // the queue and m_version
};
