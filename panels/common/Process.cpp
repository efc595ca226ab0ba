#include "Process.h"

#include <pthread.h>

#include "tarvic/platform/Clock.h"
#include "tarvic/platform/Text.h"
#include "tarvic/platform/Trace.h"

namespace {

constexpr std::uint32_t kPollMs = 100;
constexpr char kClosingOrder[] = "!EMD 0\r\n";

std::string Line(char prefix, const std::string& text) { return tarvic::Format("%c%s\r\n", prefix, text.c_str()); }

}  // namespace

CProcess::CProcess(const PanelVariant& variant) : m_variant(variant) {}

CProcess::~CProcess()
{
    // Normally stopped by the owner; otherwise both threads must end before
    // the queue and the events they use go.
    if (m_pEnvoi.joinable())
        ExitInstance();
    else if (IsStarted() && !m_stop)
        CComThread::ExitInstance();
}

bool CProcess::Demarre()
{
    if (m_pEnvoi.joinable()) return true;
    m_traite = true;
    // Set here as well as by the thread, so that a stop right after the start
    // still waits for the closing order.
    m_envoiActif = true;
    m_pEnvoi = std::thread(&CProcess::Envoi, this);
    return true;
}

void CProcess::Ordre(const std::string& text)
{
    if (!text.empty()) AjouteMessage(Line('!', text));
}

void CProcess::Demande(const std::string& text)
{
    if (!text.empty()) AjouteMessage(Line('?', text));
}

void CProcess::AjouteMessage(const std::string& line)
{
    std::lock_guard lock(m_lock);
    AjouteMessageLocked(line);
}

void CProcess::AjouteMessageLocked(const std::string& line)
{
    for (const auto& message : m_file)
        if (message->m_envoye == 0 && message->m_texte == line) return;
    m_file.push_back(std::make_unique<CMessage>(line));
    if (m_file.size() == 1) m_evFile.SetEvent();
}

void CProcess::EnvoiSorties()
{
    std::string text = "ESR ";
    for (int i = 0; i < m_variant.sortieCount; ++i) text += tarvic::Format("%2.2X", LitSortie(i) & 0xFF);
    Ordre(text);
}

void CProcess::SetSortieBit(int byte, int bit, bool on)
{
    if (byte < 0 || byte >= m_variant.sortieCount || bit < 0 || bit > 7) return;
    auto& sortie = m_sortie[static_cast<std::size_t>(byte)];
    if (on)
        sortie |= 1 << bit;
    else
        sortie &= ~(1 << bit);
}

std::string CProcess::LitVersion() const
{
    std::lock_guard lock(m_lock);
    return m_version;
}

std::vector<CMessage> CProcess::LitFile() const
{
    std::lock_guard lock(m_lock);
    std::vector<CMessage> copy;
    for (const auto& message : m_file) copy.push_back(*message);
    return copy;
}

std::string CProcess::ProchainAEnvoyer()
{
    std::lock_guard lock(m_lock);
    if (m_file.empty() || m_file.front()->m_envoye != 0) return {};
    m_file.front()->m_envoye = 1;
    return m_file.front()->m_texte;
}

void CProcess::Envoi()
{
    pthread_setname_np(pthread_self(), "Envoi");
    m_envoiActif = true;
    const auto sendNext = [this] {
        const std::string line = ProchainAEnvoyer();
        if (!line.empty()) WriteCommBlock(line.data(), static_cast<int>(line.size()));
    };
    while (!m_fin) {
        const int signalled = CEvent::WaitForMultiple({&m_evAcquit, &m_evReponse, &m_evFile, &m_evFin});
        switch (signalled) {
        case 0:
        case 1: {
            (signalled == 0 ? m_evAcquit : m_evReponse).ResetEvent();
            {
                std::lock_guard lock(m_lock);
                if (!m_file.empty()) m_file.pop_front();
            }
            sendNext();
            break;
        }
        case 2:
            sendNext();
            m_evFile.ResetEvent();
            break;
        case 3:
            WriteCommBlock(kClosingOrder, static_cast<int>(sizeof kClosingOrder - 1));
            m_fin = true;
            break;
        default: break;
        }
    }
    m_envoiActif = false;
    tarvic::TraceFormat("\nQuitter process %s\n", m_variant.name);
}

int CProcess::ExitInstance()
{
    tarvic::Sleep(kPollMs);
    m_evFin.SetEvent();
    // At least one step even when the sending thread is already done: the
    // stop below purges the port, which would drop a closing order still on
    // its way out.
    do {
        tarvic::Sleep(kPollMs);
    } while (m_envoiActif);
    if (m_pEnvoi.joinable()) m_pEnvoi.join();
    return CComThread::ExitInstance();
}

void CProcess::TraiteRecept(std::string line)
{
    tarvic::Trace("traiteRecept\n");
    if (line.empty() || line[0] != '!' || m_fin) return;

    std::lock_guard lock(m_lock);
    // Only the command in flight can be answered: a stray line while nothing
    // is, or while the head still waits to be written, must not retire it.
    if (m_file.empty() || m_file.front()->m_envoye == 0) return;
    if (!m_file.front()->IsQuery()) {
        if (tarvic::Find(line, "OK") >= 0 || tarvic::Find(line, "Erreur") >= 0) m_evAcquit.SetEvent();
        return;
    }
    if (const int ver = tarvic::Find(line, "VER"); ver >= 0) {
        m_version = tarvic::Mid(line, ver + 3);
        if (m_variant.cycle.emdOnVerReply) AjouteMessageLocked(Line('!', "EMD 1"));
        m_evReponse.SetEvent();
    } else if (m_variant.cycle.acceptsAru && tarvic::Find(line, "ARU") >= 0) {
        m_evReponse.SetEvent();
    } else if (const int lel = tarvic::Find(line, "LEL"); lel >= 0) {
        LitEntrees(line, lel);
        m_evReponse.SetEvent();
    }
}

void CProcess::LitEntrees(const std::string& line, int lel)
{
    for (const LelField& field : m_variant.lelFields) {
        std::uint32_t value = 0;
        if (!tarvic::ReadHexField(line, lel + field.offset, 2, value)) continue;
        if (field.target == LelField::kEtat)
            m_etat = static_cast<int>(value);
        else if (field.target >= 0 && field.target < PanelVariant::kMaxEntrees)
            m_entree[static_cast<std::size_t>(field.target)] = static_cast<int>(value);
    }
}
