#include "ConsoleFixture.h"

#include <sys/stat.h>

#include <QString>

#include <fstream>

#include "ProgramRun.h"

namespace banc::test {

std::string Utf8(const std::string& latin1) { return QString::fromLatin1(latin1.c_str()).toUtf8().toStdString(); }

std::vector<std::string> Console::Environment(std::vector<std::string> more) const
{
    more.push_back("XDG_CONFIG_HOME=" + m_folder.Path());
    // Every run is kept: in the test's folder, never in the user's history.
    more.push_back("XDG_DATA_HOME=" + m_folder.Path());
    more.push_back("QT_QPA_PLATFORM=offscreen");
    return more;
}

int Console::Run(const std::vector<std::string>& arguments, std::vector<std::string> environment)
{
    return RunProgram(arguments, m_folder.Path(), &m_output, &m_errors, Environment(std::move(environment)));
}

std::string Console::FaultyCard(const std::string& options) const
{
    const std::string script = File("cardsim-faulty");
    std::ofstream(script) << "#!/bin/sh\nexec " << TARVIC_CARDSIM << " \"$@\" " << options << "\n";
    ::chmod(script.c_str(), 0755);
    return "TARVIC_CARDSIM=" + script;
}

}  // namespace banc::test
