#include "Journal.h"

#include <ctime>

#include <QLoggingCategory>
#include <QString>

#include "tarvic/platform/Text.h"

Q_LOGGING_CATEGORY(lcTraffic, "tarvic.traffic", QtWarningMsg)

namespace {

std::string_view WithoutLineEnd(std::string_view line)
{
    while (!line.empty() && (line.back() == '\n' || line.back() == '\r')) line.remove_suffix(1);
    return line;
}

}  // namespace

void CJournal::Envoi(std::string_view line) { Ajoute(Sens::Envoi, WithoutLineEnd(line)); }

void CJournal::Reception(std::string_view line) { Ajoute(Sens::Reception, line); }

void CJournal::Note(std::string_view text) { Ajoute(Sens::Note, text); }

void CJournal::Ajoute(Sens sens, std::string_view text)
{
    Entree entree{0, std::chrono::system_clock::now(), sens, std::string(text)};
    {
        std::lock_guard lock(m_mutex);
        entree.numero = ++m_dernier;
        if (sens == Sens::Envoi) ++m_stats.envoyees;
        m_entrees.push_back(entree);
        if (m_entrees.size() > kMaxEntries) m_entrees.pop_front();
    }
    if (lcTraffic().isInfoEnabled()) qCInfo(lcTraffic).noquote() << QString::fromLatin1(Ligne(entree));
}

void CJournal::Traitee()
{
    std::lock_guard lock(m_mutex);
    ++m_stats.recues;
}

void CJournal::Reponse(bool erreur)
{
    std::lock_guard lock(m_mutex);
    ++m_stats.reponses;
    if (erreur) ++m_stats.erreurs;
}

void CJournal::Delai()
{
    std::lock_guard lock(m_mutex);
    ++m_stats.delais;
}

void CJournal::Renvoi()
{
    std::lock_guard lock(m_mutex);
    ++m_stats.renvois;
}

void CJournal::Reconnexion()
{
    std::lock_guard lock(m_mutex);
    ++m_stats.reconnexions;
}

std::vector<CJournal::Entree> CJournal::Entrees(std::uint64_t apres) const
{
    std::lock_guard lock(m_mutex);
    std::vector<Entree> entrees;
    for (const Entree& entree : m_entrees)
        if (entree.numero > apres) entrees.push_back(entree);
    return entrees;
}

CJournal::Statistiques CJournal::LitStatistiques() const
{
    std::lock_guard lock(m_mutex);
    return m_stats;
}

std::string CJournal::Ligne(const Entree& entree)
{
    const std::time_t seconds = std::chrono::system_clock::to_time_t(entree.heure);
    const auto millis =
        std::chrono::duration_cast<std::chrono::milliseconds>(entree.heure.time_since_epoch()).count() % 1000;
    std::tm local{};
    ::localtime_r(&seconds, &local);
    static constexpr char kSens[] = {'>', '<', '*'};
    std::string line = tarvic::Format("%02d:%02d:%02d.%03d %c ", local.tm_hour, local.tm_min, local.tm_sec,
                                      static_cast<int>(millis), kSens[static_cast<int>(entree.sens)]);
    // What a card talking garbage sends must stay readable on one line.
    for (const char c : entree.texte) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x20 || byte == 0x7F)
            line += tarvic::Format("\\x%02X", byte);
        else
            line += c;
    }
    return line;
}
