#pragma once

#include <chrono>
#include <cstdint>
#include <deque>
#include <mutex>
#include <string>
#include <vector>

// The traffic of one process with its card: every line written and every line
// received, with the time, and the counts a technician asks for first. Kept
// for the journal window (the latest kMaxEntries lines) and copied to the Qt
// logging category "tarvic.traffic" (info level, off by default).
class CJournal {
public:
    static constexpr std::size_t kMaxEntries = 2000;

    enum class Sens { Envoi, Reception, Note };

    struct Entree {
        std::uint64_t numero;  // 1 for the first line of the run, then one more per line
        std::chrono::system_clock::time_point heure;
        Sens sens;
        std::string texte;  // Latin-1, without CR LF
    };

    struct Statistiques {
        long envoyees = 0;      // lines written, resends and the closing order included
        long recues = 0;        // lines received, counted once handled
        long reponses = 0;      // replies and acknowledgements that completed a command
        long erreurs = 0;       // of which "Erreur"
        long delais = 0;        // replies awaited in vain for the whole time-out
        long renvois = 0;       // commands written again after a time-out
        long reconnexions = 0;  // identifications of a card that had been lost
    };

    void Envoi(std::string_view line);
    void Reception(std::string_view line);
    void Note(std::string_view text);

    // A received line has been handled: what it carried is stored.
    void Traitee();
    void Reponse(bool erreur);
    void Delai();
    void Renvoi();
    void Reconnexion();

    // The entries numbered after `apres`, oldest first.
    std::vector<Entree> Entrees(std::uint64_t apres = 0) const;
    Statistiques LitStatistiques() const;

    // "hh:mm:ss.mmm > text" for a line written, "<" for a line received, "*" for a note.
    static std::string Ligne(const Entree& entree);

private:
    void Ajoute(Sens sens, std::string_view text);

    mutable std::mutex m_mutex;
    std::deque<Entree> m_entrees;
    std::uint64_t m_dernier = 0;
    Statistiques m_stats;
};
