#include "BenchCardFixture.h"

#include "plants/Benches.h"
#include "tarvic/elements/AxeNum.h"
#include "tarvic/elements/DebitAir.h"
#include "tarvic/elements/IaPV.h"
#include "tarvic/elements/NiveauEau1.h"
#include "tarvic/elements/Synum.h"
#include "tarvic/platform/Text.h"

namespace cardsim::test {

void BenchCardTest::TearDown() { tarvic::SetProfile(nullptr); }

void BenchCardTest::Open(const std::string& bench, char letter, int mode, double noise)
{
    Open(MakeBench(bench, 7, noise), letter, mode);
}

void BenchCardTest::Open(std::unique_ptr<Bench> bench, char letter, int mode)
{
    m_profile = std::make_shared<tarvic::MemoryProfile>();
    m_profile->WriteProfileInt("TYPE", "PO", letter);
    m_profile->WriteProfileInt("TYPE", "REGULATEUR", mode);
    tarvic::SetProfile(m_profile);
    switch (letter) {
    case 'N': CNiveauEau().InitValeur(); break;
    case 'X': CAxeNum().InitValeur(); break;
    case 'I': CIaPV().InitValeur(); break;
    case 'S': CSynum().InitValeur(); break;
    default: CDebitAir().InitValeur(); break;
    }
    m_card = std::make_unique<BenchCard>(std::move(bench));
}

void BenchCardTest::Download(CEidElement& element)
{
    for (int code = 0; code < element.NbParam(); ++code) {
        const std::string text = element.ConfFerz(code);
        if (text.empty()) continue;
        ASSERT_EQ(Order(text), "!OK") << text;
    }
}

void BenchCardTest::Send(CEidElement& element, int code)
{
    const std::string text = element.ConfFerz(code);
    ASSERT_FALSE(text.empty()) << code;
    ASSERT_EQ(Order(text), "!OK") << text;
}

void BenchCardTest::DownloadOnOff(CTor& tor, float negative, float positive, char feedback)
{
    tor.SetFParam(15, negative);
    tor.SetFParam(16, positive);
    tor.SetCParam(6, 1);
    tor.SetCParam(7, feedback);
    Download(tor);
    Send(tor, 4);  // DCP
}

std::vector<std::int32_t> Fields(const std::string& reply, std::size_t start, std::initializer_list<int> widths)
{
    std::vector<std::int32_t> values;
    auto position = static_cast<std::ptrdiff_t>(start);
    for (const int width : widths) {
        std::uint32_t raw = 0;
        EXPECT_TRUE(tarvic::ReadHexField(reply, position, width, raw)) << reply;
        const int bits = 4 * width;
        if (bits < 32 && (raw & (1u << (bits - 1)))) raw |= ~((1u << bits) - 1);
        values.push_back(static_cast<std::int32_t>(raw));
        position += width;
    }
    return values;
}

double InputPercent(std::int32_t counts) { return (counts - 819) * 100.0 / 3276; }

}  // namespace cardsim::test
