#pragma once

#include <sys/types.h>

#include <cstdio>
#include <string>
#include <vector>

namespace tarvic::test {

// cardsim started as a process of its own with the given arguments; its first
// output line is the path of its pseudo-terminal. Stopped at destruction.
class CardsimProcess {
public:
    explicit CardsimProcess(const std::vector<std::string>& args);
    ~CardsimProcess();
    CardsimProcess(const CardsimProcess&) = delete;
    CardsimProcess& operator=(const CardsimProcess&) = delete;

    const std::string& Path() const { return m_path; }

private:
    pid_t m_pid = -1;
    FILE* m_out = nullptr;
    std::string m_path;
};

}  // namespace tarvic::test
