#pragma once

#include <unistd.h>

#include <climits>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <numeric>
#include <string>
#include <vector>

#include "ControlFixture.h"
#include "support/TraceCapture.h"
#include "tarvic/control/GeneFonction.h"
#include "tarvic/platform/Text.h"

namespace tarvic::test {

// The generator writes its trace files in the working directory: each test
// runs in a directory of its own.
class GeneTest : public ControlTest {
protected:
    void SetUp() override
    {
        ControlTest::SetUp();
        m_previous = std::filesystem::current_path();
        std::string model = (std::filesystem::temp_directory_path() / "tarvic-gene-XXXXXX").string();
        ASSERT_NE(mkdtemp(model.data()), nullptr);
        m_dir = model;
        std::filesystem::current_path(m_dir);
    }
    void TearDown() override
    {
        std::filesystem::current_path(m_previous);
        std::filesystem::remove_all(m_dir);
        ControlTest::TearDown();
    }

    static std::string Fichier(const char* name)
    {
        std::ifstream file(name, std::ios::binary);
        if (!file) return "<absent>";
        return std::string(std::istreambuf_iterator<char>(file), {});
    }
    static std::vector<int> Points(const CGeneFonction& gene)
    {
        return std::vector<int>(gene.TablePoints.begin(), gene.TablePoints.end());
    }
    static int Somme(const CGeneFonction& gene)
    {
        return std::accumulate(gene.TablePoints.begin(), gene.TablePoints.end(), 0);
    }
    // The whole download, as the controlling application runs it.
    static std::vector<std::string> Sequence(CGeneFonction& gene)
    {
        std::vector<std::string> lines;
        for (int n = 0; n < gene.NbParam(); ++n) lines.push_back(gene.ConfFerz(n));
        return lines;
    }

    std::filesystem::path m_previous;
    std::filesystem::path m_dir;
};

}  // namespace tarvic::test
