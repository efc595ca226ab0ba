#include "Process.h"

#include <pthread.h>

#include <utility>

#include "tarvic/platform/Clock.h"
#include "tarvic/platform/Text.h"
#include "tarvic/platform/Trace.h"

namespace {

constexpr std::uint32_t kPollMs = 100;
constexpr char kClosingOrder[] = "!EMD 0\r\n";

// Built by hand rather than formatted: the cycle makes one every second.
std::string Line(char prefix, const std::string& text)
{
    std::string line;
    line.reserve(text.size() + 3);
    line += prefix;
    line += text;
    line += "\r\n";
    return line;
}

#ifdef TARVIC_TEST_HOOKS
std::atomic<decltype(ProcessHooks::queueChanged)> g_queueChanged{nullptr};
std::atomic<decltype(ProcessHooks::envoiStep)> g_envoiStep{nullptr};

void QueueChanged(const std::list<std::unique_ptr<CMessage>>& file)
{
    if (const auto hook = g_queueChanged.load()) hook(file);
}
void Step(CProcess& process, EnvoiStep step)
{
    if (const auto hook = g_envoiStep.load()) hook(process, step);
}
#else
void QueueChanged(const std::list<std::unique_ptr<CMessage>>&) {}
void Step(CProcess&, EnvoiStep) {}
#endif

}  // namespace

#ifdef TARVIC_TEST_HOOKS
void SetProcessHooks(ProcessHooks hooks)
{
    g_queueChanged = hooks.queueChanged;
    g_envoiStep = hooks.envoiStep;
}
#endif

CProcess::CProcess(const PanelVariant& variant, LinkTimings timings) : m_variant(variant), m_timings(timings)
{
    SetReouverture(true, m_timings.reopenPeriodMs);
}

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
    bool first;
    {
        std::lock_guard lock(m_lock);
        first = AjouteMessageLocked(line);
    }
    // Signalled outside the lock, so that the woken sending thread finds it free.
    if (first) m_evFile.SetEvent();
}

bool CProcess::AjouteMessageLocked(const std::string& line)
{
    for (const auto& message : m_file)
        if (message->m_envoye == 0 && message->m_texte == line) return false;
    m_file.push_back(std::make_unique<CMessage>(line));
    QueueChanged(m_file);
    return m_file.size() == 1;
}

void CProcess::VideFileLocked()
{
    m_file.clear();
    m_teteRepondue = false;
    m_teteRefusee = false;
    QueueChanged(m_file);
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
    QueueChanged(m_file);
    return m_file.front()->m_texte;
}

bool CProcess::Ecrit(const std::string& line)
{
    // Without a port nothing goes out: nothing is journaled, counted or awaited.
    // Journaled before the write, so that the reply never comes first.
    if (!hcom.IsOpen()) return false;
    m_journal->Envoi(line);
    if (WriteCommBlock(line.data(), static_cast<int>(line.size()))) return true;
    m_journal->Note("Ligne non \xE9" "crite : le port ne la prend plus");
    return false;
}

void CProcess::EnvoiSuivant(EnVol& enVol)
{
    for (std::string line = ProchainAEnvoyer(); !line.empty(); line = ProchainAEnvoyer()) {
        if (Ecrit(line)) {
            enVol = {tarvic::GetTickCount(), 1};
            return;
        }
        // Never sent, so never answered: it leaves the queue at once, and the
        // cycle greets the card again once the port is back.
        RetireTete(enVol);
    }
}

void CProcess::RetireTete(EnVol& enVol)
{
    std::lock_guard lock(m_lock);
    if (!m_file.empty()) m_file.pop_front();
    m_teteRepondue = false;
    m_teteRefusee = false;
    QueueChanged(m_file);
    enVol = {};
}

std::uint32_t CProcess::Attente(const EnVol& enVol) const
{
    if (enVol.ecritures == 0) return CEvent::kInfinite;
    const std::uint32_t elapsed = tarvic::GetTickCount() - enVol.ecritA;
    return elapsed >= m_timings.replyTimeoutMs ? 0 : m_timings.replyTimeoutMs - elapsed;
}

void CProcess::DelaiDepasse(EnVol& enVol)
{
    std::string line;
    bool refusee = false;
    {
        std::lock_guard lock(m_lock);
        // Answered while the wait ended: the reply event is about to be handled.
        if (m_teteRepondue || m_file.empty()) return;
        line = m_file.front()->m_texte;
        refusee = m_teteRefusee;
    }
    m_journal->Delai();
    // The head stays the one sent copy: the queue gains nothing. A port that
    // no longer takes it is being lost: its loss empties the queue.
    if (enVol.ecritures <= LinkTimings::kMaxResends && Ecrit(line)) {
        m_journal->Renvoi();
        enVol = {tarvic::GetTickCount(), enVol.ecritures + 1};
        return;
    }
    // A card that answers its queries with an error does answer: it is not
    // silent. Said before the loss is noted, so that whoever reads the
    // journal finds the reason already there.
    m_refus = refusee;
    CartePerdue(enVol, refusee ? kRefus : "Pas de r\xE9ponse de la carte");
}

void CProcess::CartePerdue(EnVol& enVol, const char* why)
{
    {
        std::lock_guard lock(m_lock);
        VideFileLocked();
        // A reply that came for a line now gone must not retire the next one.
        m_evAcquit.ResetEvent();
        m_evReponse.ResetEvent();
        if (!m_version.empty()) m_perdue = true;
        m_version.clear();
        m_identifiee = false;
    }
    for (auto& entree : m_entree) entree = 0;
    m_etat = 0;
    enVol = {};
    m_journal->Note(why);
}

void CProcess::Envoi()
{
    pthread_setname_np(pthread_self(), "Envoi");
    m_envoiActif = true;
    EnVol enVol;
    while (!m_fin) {
        const int signalled =
            CEvent::WaitForMultiple({&m_evAcquit, &m_evReponse, &m_evFile, &m_evFin, LitPortPerdu()}, Attente(enVol));
        switch (signalled) {
        case 0:
        case 1:
            (signalled == 0 ? m_evAcquit : m_evReponse).ResetEvent();
            RetireTete(enVol);
            Step(*this, EnvoiStep::HeadRetired);
            EnvoiSuivant(enVol);
            Step(*this, EnvoiStep::SentOnReply);
            break;
        case 2:
            // Reset before sending: a line queued once the queue has been
            // looked at sets it again and is not forgotten.
            m_evFile.ResetEvent();
            EnvoiSuivant(enVol);
            Step(*this, EnvoiStep::SentOnFile);
            break;
        case 3:
            Ecrit(kClosingOrder);
            m_fin = true;
            break;
        case 4:
            LitPortPerdu()->ResetEvent();
            CartePerdue(enVol, "Liaison perdue");
            break;
        case CEvent::kTimeout: DelaiDepasse(enVol); break;
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
    m_journal->Reception(line);
    CEvent* answered = nullptr;
    if (!line.empty() && line[0] == '!' && !m_fin) {
        std::lock_guard lock(m_lock);
        // Only the command in flight can be answered: a stray line while nothing
        // is, or while the head still waits to be written, must not retire it.
        if (!m_file.empty() && m_file.front()->m_envoye != 0) {
            bool erreur = false;
            if (!m_file.front()->IsQuery()) {
                erreur = tarvic::Find(line, "OK") < 0 && tarvic::Find(line, "Erreur") >= 0;
                if (tarvic::Find(line, "OK") >= 0 || erreur) answered = &m_evAcquit;
            } else if (const int ver = tarvic::Find(line, "VER"); ver >= 0) {
                m_version = tarvic::Mid(line, ver + 3);
                m_identifiee = !m_version.empty();
                if (m_variant.cycle.emdOnVerReply) AjouteMessageLocked(Line('!', "EMD 1"));
                if (std::exchange(m_perdue, false)) m_journal->Reconnexion();
                m_refus = false;
                answered = &m_evReponse;
            } else if (m_variant.cycle.acceptsAru && tarvic::Find(line, "ARU") >= 0) {
                answered = &m_evReponse;
            } else if (const int lel = tarvic::Find(line, "LEL"); lel >= 0) {
                LitEntrees(line, lel);
                answered = &m_evReponse;
            } else if (tarvic::Find(line, "Erreur") >= 0) {
                m_teteRefusee = true;
            }
            if (answered && !std::exchange(m_teteRepondue, true)) m_journal->Reponse(erreur);
        }
    }
    // Outside the lock, so that the woken sending thread finds it free.
    if (answered) answered->SetEvent();
    m_journal->Traitee();
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
