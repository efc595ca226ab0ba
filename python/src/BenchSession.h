#pragma once

#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "cli/CommandLine.h"
#include "engine/link/CardLink.h"
#include "engine/link/EmbeddedCard.h"
#include "engine/model/Elements.h"
#include "engine/model/Settings.h"

namespace tarvic {
class Profile;
}

namespace banc::python {

// Options as the console takes them: "--kp", "2".
using Arguments = std::vector<std::string>;

// A bench and its card driven by calls instead of one command line. Each
// call is the console's options (the session's own, then the call's), read
// and checked by the console's own code, so that the same names, limits and
// messages hold. The card stays open from one run to the next.
class BenchSession {
public:
    // --banc, and --port or --vitesse, --bruit, --graine, and --profil;
    // throws UsageError, or SystemError when the card cannot be reached.
    explicit BenchSession(const Arguments& arguments);
    ~BenchSession();
    BenchSession(const BenchSession&) = delete;
    BenchSession& operator=(const BenchSession&) = delete;

    // The session's options followed by `more`, read and looked up; throws UsageError.
    cli::Request Read(const Arguments& more, Settings& settings) const;
    // The elements made for `settings` in the profile, which keeps the values given; throws
    // UsageError, or SystemError when the profile cannot be written.
    void Configure(const Settings& settings, Elements& elements) const;
    // Every parameter the bench's mode uses, and its value.
    std::vector<std::pair<std::string, float>> Parameters(const Settings& settings) const;

    // Stops the simulated card and closes the port; later calls are refused.
    void Close();
    bool IsClosed() const { return !m_link; }
    const std::string& Port() const { return m_port; }
    CardLink& Link();  // throws UsageError once closed
    const std::shared_ptr<tarvic::Profile>& Profile() const { return m_profile; }

private:
    void CheckOpen() const;

    Arguments m_arguments;
    std::string m_profilePath;
    std::shared_ptr<tarvic::Profile> m_profile;
    EmbeddedCard m_card;
    std::string m_port;
    std::unique_ptr<CardLink> m_link;
};

// Whether `name` is a parameter of some bench (an option the console takes
// exactly, never as an abbreviation of another).
bool IsParameterName(const std::string& name);

}  // namespace banc::python
