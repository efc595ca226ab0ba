#pragma once

#include <memory>
#include <string>

#include "engine/model/Settings.h"

namespace tarvic {
class Profile;
}

namespace banc::window {

// Where the window's card is: the embedded simulated card at a speed, or a serial port.
struct CardChoice {
    bool embedded = true;
    double speed = 1;
    std::string port;  // COMn or a device path
};

// What the window keeps of the user's choices in a profile of its own: the
// bench, the card, and for each bench its mode, the loop's wiring and, for
// each mode, the PID's actions, and the folder of its files. The elements' parameters are the library's,
// in the bench's own profile.
class WindowProfile {
public:
    explicit WindowProfile(std::shared_ptr<tarvic::Profile> profile);

    const Bench& LastBench() const;
    void SaveBench(const Bench& bench);
    // The bench's settings as last chosen (its defaults the first time), in
    // `mode` when given, else in the mode last chosen; no parameter values.
    Settings Load(const Bench& bench, const Mode* mode = nullptr) const;
    void Save(const Settings& settings);
    CardChoice Card() const;
    void SaveCard(const CardChoice& card);
    // The folder of the file last opened or written; "" before the first.
    std::string Folder() const;
    void SaveFolder(const std::string& folder);
    // The archive a run was kept in when the window had to close without asking; "" when none is to be told.
    std::string KeptRun() const;
    void SaveKeptRun(const std::string& path);

private:
    std::shared_ptr<tarvic::Profile> m_profile;
};

}  // namespace banc::window
