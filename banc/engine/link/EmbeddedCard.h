#pragma once

#include <sys/types.h>

#include <optional>
#include <string>
#include <vector>

namespace banc {

// The embedded default card: the simulated card program started on a private
// pseudo-terminal of its own, whose path it prints as its first line. It runs
// in a process group of its own, so that a Ctrl-C at the terminal reaches the
// console alone, which then stops the card's loop through it. Stopped at destruction.
class EmbeddedCard {
public:
    EmbeddedCard() = default;
    ~EmbeddedCard();
    EmbeddedCard(const EmbeddedCard&) = delete;
    EmbeddedCard& operator=(const EmbeddedCard&) = delete;

    // "" when started, else why not (Latin-1).
    std::string Start(const std::string& program, const std::vector<std::string>& arguments);
    const std::string& Path() const { return m_path; }
    void Stop();

    // It gives no identification of its own: what the history and the room say of it (Latin-1).
    static constexpr char kIdentification[] = "cardsim (carte simul\xE9" "e)";

    // The simulated card program: $TARVIC_CARDSIM when set, else "cardsim"
    // next to `programDir` (the console's own folder once installed), else
    // the one of the build tree; "" when there is none.
    static std::string Locate(const std::string& programDir);
    // The folder of the running program.
    static std::string ProgramFolder();
    // The card's options for `bench` at `speed` times the clock, with measurement noise and its seed when given.
    static std::vector<std::string> Arguments(const std::string& bench, double speed, std::optional<double> noise,
                                              std::optional<unsigned> seed);

private:
    pid_t m_pid = -1;
    int m_output = -1;
    std::string m_path;
};

}  // namespace banc
