#include "LoggedCardWindow.h"

#include <fstream>

namespace banc::test {

LoggedCardWindow::LoggedCardWindow(const char* mode)
    : m_card({"--bench", "niveaueau", "--speed", "50", "--log", m_fixture.folder.File("carte.log")}), m_mode(mode)
{
}

void LoggedCardWindow::SetUp()
{
    ASSERT_FALSE(m_card.Path().empty());
    m_fixture.Prefer("niveaueau", m_mode, 1);
    m_fixture.PreferPort(m_card.Path());
    m_fixture.Open();
    ASSERT_TRUE(SpinUntil([&] { return m_fixture.Bench().Card().State() == window::LinkState::Answering; }));
}

std::vector<std::string> LoggedCardWindow::Orders() const
{
    std::ifstream log(m_fixture.folder.File("carte.log"));
    std::vector<std::string> orders;
    for (std::string line; std::getline(log, line);)
        if (line.rfind("> !", 0) == 0) orders.push_back(line.substr(2));
    return orders;
}

int LoggedCardWindow::Requests() const
{
    std::ifstream log(m_fixture.folder.File("carte.log"));
    int count = 0;
    for (std::string line; std::getline(log, line);) count += line.rfind("> ?", 0) == 0 ? 1 : 0;
    return count;
}

void LoggedCardWindow::LetTheWatchTurn() const
{
    const int now = Requests();
    ASSERT_TRUE(SpinUntil([&] { return Requests() >= now + 6; }));
}

}  // namespace banc::test
