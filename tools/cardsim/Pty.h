#pragma once

#include <string>

namespace cardsim {

// The card's end of a pseudo-terminal. It keeps a descriptor of the other
// end open itself, so that no client (or a client that went away) is not a
// hang-up that would make the master report itself readable forever.
class Pty {
public:
    Pty();
    ~Pty();
    Pty(const Pty&) = delete;
    Pty& operator=(const Pty&) = delete;

    bool IsOpen() const { return m_master >= 0; }
    int Master() const { return m_master; }
    const std::string& SlavePath() const { return m_slavePath; }

    // Replaces `path` with a symlink to the slave; removed again at destruction.
    bool Link(const std::string& path);
    void Write(const std::string& bytes);
    // Closes both ends: a client that is connected sees a hang-up.
    void Close();

private:
    int m_master = -1;
    int m_slave = -1;
    std::string m_slavePath;
    std::string m_link;
};

}  // namespace cardsim
