#include <gtest/gtest.h>

#include "BancTestSupport.h"
#include "engine/outputs/BodeCsv.h"

using namespace banc;
using analysis::BodePoint;

namespace {

std::vector<BodePoint> TwoPoints()
{
    BodePoint first;
    first.frequencyHz = 0.5;
    first.gain = 0.5;
    first.gainDb = -6.0206;
    first.phaseDeg = -45.25;
    first.distortionPct = 1.5;
    BodePoint second;
    second.frequencyHz = 2;
    second.gain = 0.125;
    second.gainDb = -18.0618;
    second.phaseDeg = -120;
    second.distortionPct = 12;
    second.trusted = false;
    second.flag = "d\xE9" "form\xE9, commande satur\xE9" "e";
    return {first, second};
}

}  // namespace

TEST(BodeCsv, OneRowPerFrequencyInHertzAndRadiansPerSecond)
{
    banc::test::TemporaryFolder folder;
    const std::string path = folder.File("bode.csv");
    ASSERT_EQ(WriteBodeCsv(path, TwoPoints()), "");
    // 2 pi x 0.5 = 3.1415927, 2 pi x 2 = 12.566371 (as floats, shortest).
    EXPECT_EQ(banc::test::ReadFile(path),
              "frequence_hz,pulsation_rad_s,gain,gain_db,phase_deg,distorsion_pct,remarque\r\n"
              "0.5,3.1415927,0.5,-6.0206,-45.25,1.5,\r\n"
              "2,12.566371,0.125,-18.0618,-120,12,\"d\xC3\xA9" "form\xC3\xA9, commande satur\xC3\xA9" "e\"\r\n");
}

TEST(BodeCsv, TheFrenchFormatHasItsMarkSemicolonsAndDecimalCommas)
{
    banc::test::TemporaryFolder folder;
    const std::string path = folder.File("bode.csv");
    ASSERT_EQ(WriteBodeCsv(path, TwoPoints(), CsvFormat::French), "");
    EXPECT_EQ(banc::test::ReadFile(path),
              "\xEF\xBB\xBF" "frequence_hz;pulsation_rad_s;gain;gain_db;phase_deg;distorsion_pct;remarque\r\n"
              "0,5;3,1415927;0,5;-6,0206;-45,25;1,5;\r\n"
              "2;12,566371;0,125;-18,0618;-120;12;d\xC3\xA9" "form\xC3\xA9, commande satur\xC3\xA9" "e\r\n");
}

TEST(BodeCsv, NoTableReplacesAFolderOrADevice)
{
    banc::test::TemporaryFolder folder;
    EXPECT_EQ(WriteBodeCsv(folder.Path(), TwoPoints()),
              "Impossible d'\xE9" "crire " + folder.Path() + " : c'est un dossier.");
    EXPECT_EQ(WriteBodeCsv("/dev/null", TwoPoints()),
              "Impossible d'\xE9" "crire /dev/null : c'est un p\xE9riph\xE9rique.");
    const std::string absent = folder.File("absent/bode.csv");
    EXPECT_EQ(WriteBodeCsv(absent, TwoPoints()), "Impossible d'\xE9" "crire " + absent + " : dossier introuvable.");
}
