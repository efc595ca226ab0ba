#pragma once

#include <string>
#include <vector>

#include "BancTestSupport.h"

namespace banc::test {

// The console writes its Latin-1 texts in the locale's encoding, UTF-8 here.
std::string Utf8(const std::string& latin1);

// A folder of its own for each run: the profile, the outputs, the traces of the generator.
class Console {
public:
    std::vector<std::string> Environment(std::vector<std::string> more = {}) const;
    int Run(const std::vector<std::string>& arguments, std::vector<std::string> environment = {});
    std::string File(const std::string& name) const { return m_folder.File(name); }
    // A simulated card that runs with extra options: faults, a log.
    std::string FaultyCard(const std::string& options) const;

    TemporaryFolder m_folder;
    std::string m_output, m_errors;
};

}  // namespace banc::test
