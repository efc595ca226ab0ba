#include "BancTestSupport.h"

#include <stdlib.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>

namespace banc::test {

const ParameterDef& FindParameter(const Bench& bench, const std::string& name)
{
    for (const auto* table : {&CommonParameters(), &bench.parameters})
        for (const auto& def : *table)
            if (name == def.name) return def;
    throw std::invalid_argument(name);
}

Settings MakeSettings(const char* bench, const char* mode, std::initializer_list<std::pair<const char*, float>> values)
{
    Settings settings;
    settings.bench = FindBench(bench);
    settings.mode = FindMode(*settings.bench, mode);
    for (const auto& [name, value] : values) settings.values.emplace_back(&FindParameter(*settings.bench, name), value);
    return settings;
}

float RampWithOvershoot(int i)
{
    if (i >= 20 && i <= 22) return 110;
    return std::min(100.0f, 6.25f * static_cast<float>(i));
}

TemporaryFolder::TemporaryFolder()
{
    char pattern[] = "/tmp/tarvic-banc-test-XXXXXX";
    if (!::mkdtemp(pattern)) throw std::runtime_error("no temporary folder");
    m_path = pattern;
}

TemporaryFolder::~TemporaryFolder()
{
    std::error_code ignored;
    std::filesystem::remove_all(m_path, ignored);
}

std::string ReadFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

}  // namespace banc::test
