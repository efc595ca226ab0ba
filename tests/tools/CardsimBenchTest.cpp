#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include "support/CardsimProcess.h"
#include "support/LineCollector.h"
#include "support/TraceCapture.h"
#include "tarvic/control/GeneFonction.h"
#include "tarvic/control/Pid.h"
#include "tarvic/elements/AxeNum.h"
#include "tarvic/elements/IaPV.h"
#include "tarvic/elements/NiveauEau1.h"
#include "tarvic/platform/MemoryProfile.h"
#include "tarvic/recording/Enregistrement.h"

using namespace std::chrono_literals;
using tarvic::test::CardsimProcess;
using tarvic::test::LineCollector;

namespace {

// The controlling application's side of the link: one line out, its one reply back.
class Link {
public:
    explicit Link(const std::string& path) : m_com(path)
    {
        m_com.m_traite = true;
        m_com.CreateThread();
        m_com.LitOpenPort()->Wait(10000);
    }
    std::string Exchange(char prefix, const std::string& text, std::chrono::milliseconds timeout = 5000ms)
    {
        const std::size_t before = m_com.Count();
        m_com.Send(prefix + text + "\r\n");
        if (!m_com.WaitLines(before + 1, timeout)) return "";
        return m_com.Lines()[before];
    }
    void Download(CEidElement& element)
    {
        for (int code = 0; code < element.NbParam(); ++code) {
            const std::string text = element.ConfFerz(code);
            if (!text.empty()) {
                EXPECT_EQ(Exchange('!', text), "!OK") << text;
            }
        }
    }
    bool IsOpen() const { return m_com.hcom.IsOpen(); }

    // The controller with its wiring, the generator and the armed recording
    // downloaded, then the loop started.
    void StartRecorded(CPid& pid, CGeneFonction& gene, CEnregistrement& recording)
    {
        Download(pid);
        EXPECT_EQ(Exchange('!', pid.ConfFerz(6)), "!OK");
        Download(gene);
        Download(recording);
        EXPECT_EQ(Exchange('!', "EVE" + recording.ConfFerz(1007)), "!OK");
        recording.SetStart(true);
        pid.ModeRD = true;
        EXPECT_EQ(Exchange('!', pid.ConfFerz(101)), "!OK");
    }
    // Polls as the application does until every block is in: `turn` first,
    // then the recording's next request; false after 30 s.
    template <class Turn>
    bool Acquire(CEnregistrement& recording, Turn turn)
    {
        const auto limit = std::chrono::steady_clock::now() + 30s;
        while (recording.LitStart() && std::chrono::steady_clock::now() < limit) {
            turn();
            const std::string request = recording.LitParam(1) == 1 ? recording.LitBloc() : recording.DmdMesure(0);
            if (!request.empty()) recording.TraitRecept(Exchange('?', request));
            std::this_thread::sleep_for(5ms);
        }
        return !recording.LitStart();
    }

private:
    LineCollector m_com;
};

class ProfileScope {
public:
    explicit ProfileScope(char letter, int mode)
    {
        m_profile->WriteProfileInt("TYPE", "PO", letter);
        m_profile->WriteProfileInt("TYPE", "REGULATEUR", mode);
        tarvic::SetProfile(m_profile);
    }
    ~ProfileScope() { tarvic::SetProfile(nullptr); }
    tarvic::MemoryProfile& Profile() { return *m_profile; }

private:
    std::shared_ptr<tarvic::MemoryProfile> m_profile = std::make_shared<tarvic::MemoryProfile>();
};

}  // namespace

TEST(CardsimBench, ClosedLoopStepOfTheWaterLevelRecordedThroughTheSerialThread)
{
    tarvic::test::TraceCapture quiet;
    ProfileScope scope('N', 1);
    CNiveauEau niveau;
    niveau.InitValeur();
    scope.Profile().WriteProfileInt("ENREGISTREMENT", "NB_BLOC", 2);
    CardsimProcess card({"--bench", "niveaueau", "--speed", "20"});
    Link link(card.Path());
    ASSERT_TRUE(link.IsOpen());

    link.Download(niveau);
    CPid pid;
    pid.SetFParam(10, 3);
    pid.SetFParam(11, 15);
    for (const int action : {2, 3}) pid.SetCParam(action, 1);
    pid.SetCParam(6, 1);  // the pump
    pid.SetCParam(7, 2);  // level 1
    CGeneFonction gene("GENE");
    gene.SetFParam(0, 40);
    gene.SetCParam(0, 0);
    CEnregistrement recording;
    link.StartRecorded(pid, gene, recording);

    // Poll the live values and the recording until both blocks are in.
    float highestLevel = 0;
    ASSERT_TRUE(link.Acquire(recording, [&] {
        ASSERT_TRUE(niveau.TraitRecept(link.Exchange('?', niveau.DmdMesure(0))));
        highestLevel = std::max(highestLevel, niveau.LitSonde(6));
        ASSERT_TRUE(pid.TraitRecept(link.Exchange('?', pid.DmdMesure(1))));
    }));
    pid.ModeRD = false;
    EXPECT_EQ(link.Exchange('!', pid.ConfFerz(101)), "!OK");

    ASSERT_EQ(recording.LitNbPoint(), 64);
    // 32 s of a step to 40 %: full pump at first, the level rising towards the setpoint.
    EXPECT_NEAR(recording.LitPoint('2', 0), 1305 * 100.0f / 3264, 1e-4);
    EXPECT_NEAR(recording.LitPoint('7', 0), 100, 1e-4);
    for (int i = 1; i < 64; ++i) {
        EXPECT_EQ(recording.LitPoint('c', i), static_cast<float>(i)) << i;
        EXPECT_GE(recording.LitPoint('M', i), recording.LitPoint('M', i - 1)) << i;
        EXPECT_NEAR(recording.LitPoint('8', i), recording.LitPoint('2', i) - recording.LitPoint('M', i), 0.04) << i;
    }
    EXPECT_GT(recording.LitPoint('M', 63), 20);
    EXPECT_LT(recording.LitPoint('M', 63), 40.5);
    EXPECT_GT(highestLevel, 5);  // the live readings moved as well
    EXPECT_GT(pid.LitSonde(4), 5);
}

TEST(CardsimBench, FaultyDeliveriesStillCarryWholeReplies)
{
    tarvic::test::TraceCapture quiet;
    for (const char* mode : {"--split", "--bytewise", "--garbage"}) {
        CardsimProcess card({"--bench", "debitair", "--speed", "50", mode});
        Link link(card.Path());
        EXPECT_EQ(link.Exchange('?', "ASBC"), "!ASBC3333") << mode;
        EXPECT_EQ(link.Exchange('!', "EVE0032"), "!OK") << mode;
        EXPECT_EQ(link.Exchange('!', "RD"), "!OK") << mode;
        if (std::string(mode) == "--bytewise") continue;  // 2 ms a byte: a block would take 4 s
        EXPECT_TRUE(tarvic::test::WaitUntil([&] { return link.Exchange('?', "TEM00") == "!TEM00O"; })) << mode;
        const std::string block = link.Exchange('?', "TSF00");
        EXPECT_EQ(block.size(), 2056u) << mode;
        EXPECT_EQ(block.substr(0, 6), "!TSF00") << mode;
    }
}

TEST(CardsimBench, SilentAndHangingUpBenchCards)
{
    tarvic::test::TraceCapture quiet;
    {
        CardsimProcess card({"--bench", "niveaueau", "--silent"});
        Link link(card.Path());
        EXPECT_EQ(link.Exchange('?', "AEBC", 300ms), "");
    }
    CardsimProcess card({"--bench", "niveaueau", "--hangup-after", "2"});
    Link link(card.Path());
    EXPECT_EQ(link.Exchange('?', "AEBC"), "!AEBC033303330333");
    link.Exchange('?', "AEBC", 300ms);
    EXPECT_TRUE(tarvic::test::WaitUntil([&] { return !link.IsOpen(); }, 5000ms));
}

TEST(CardsimBench, AxisHomedThenMovedToItsTargetAndRest)
{
    tarvic::test::TraceCapture quiet;
    ProfileScope scope('X', 5);
    CAxeNum().InitValeur();
    CAxeNum axis;
    CardsimProcess card({"--bench", "axnum", "--speed", "20"});
    Link link(card.Path());
    const auto follow = [&](int state) {
        const auto limit = std::chrono::steady_clock::now() + 20s;
        while (axis.LitEtatAxnum() == state && std::chrono::steady_clock::now() < limit) {
            std::this_thread::sleep_for(10ms);
            const std::string request = axis.DmdMesure(11);  // XEFC
            if (!request.empty()) {
                ASSERT_TRUE(axis.TraitRecept(link.Exchange('?', request)));
            }
        }
    };

    axis.SetFParam(1008, 0);  // the target of the download: where the carriage is
    link.Download(axis);
    ASSERT_TRUE(axis.TraitRecept(link.Exchange('?', axis.DmdMesure(10))));  // XPOM
    EXPECT_EQ(axis.LitEtatAxnum(), 1);
    follow(1);
    ASSERT_EQ(axis.LitEtatAxnum(), 2);
    ASSERT_TRUE(axis.TraitRecept(link.Exchange('?', "AVPI")));
    EXPECT_EQ(axis.LitSonde(1), 0);  // homed

    axis.SetFParam(1007, 200);  // rest, degrees
    axis.SetFParam(1008, 900);  // target
    EXPECT_EQ(link.Exchange('!', axis.ConfFerz(1010)), "!OK");
    EXPECT_EQ(link.Exchange('!', axis.ConfFerz(3)), "!OK");  // the move to the target
    EXPECT_TRUE(tarvic::test::WaitUntil([&] {
        axis.TraitRecept(link.Exchange('?', axis.DmdMesure(11)));
        return !axis.LitMvtCible();
    }));
    ASSERT_TRUE(axis.TraitRecept(link.Exchange('?', axis.DmdMesure(0))));  // ASP
    EXPECT_EQ(axis.LitSonde(1), 1250);                                     // 900 degrees of 0.72

    ASSERT_TRUE(axis.TraitRecept(link.Exchange('?', axis.DmdMesure(12))));  // XPRX: the reference move
    EXPECT_EQ(axis.LitEtatAxnum(), 3);
    follow(3);
    EXPECT_EQ(axis.LitEtatAxnum(), 4);
    ASSERT_TRUE(axis.TraitRecept(link.Exchange('?', "AVPI")));
    EXPECT_EQ(axis.LitSonde(1), 277);  // the rest position, 200 degrees
}

TEST(CardsimBench, SpeedLoopOnTheMotorBenchRecorded)
{
    tarvic::test::TraceCapture quiet;
    ProfileScope scope('I', 4);
    CIaPV().InitValeur();
    CIaPV iapv;
    scope.Profile().WriteProfileInt("ENREGISTREMENT", "NB_BLOC", 2);
    CardsimProcess card({"--bench", "iapv", "--speed", "20"});
    Link link(card.Path());
    link.Download(iapv);
    CPid pid;  // the bench's factory gains: K1 = K2 = 1, Ti = 0.1 s
    for (const int choice : {2, 3, 6}) pid.SetCParam(choice, 1);
    pid.SetCParam(7, 1);  // 'V': the speed
    CGeneFonction gene("GENE");
    gene.SetFParam(0, 40);
    gene.SetFParam(4, 0);
    gene.SetFParam(3, 0.1f);
    gene.SetCParam(0, 0);
    CEnregistrement recording;
    link.StartRecorded(pid, gene, recording);
    ASSERT_TRUE(link.Acquire(recording, [] {}));
    ASSERT_EQ(recording.LitNbPoint(), 64);
    // A point every 10 ms from the first sample: the rest value until the 100 ms
    // delay ends at point 9, then the step to 40 counts a window.
    for (int i = 0; i < 64; ++i) {
        EXPECT_EQ(recording.LitPoint('2', i), i < 9 ? 0.0f : 40.0f) << i;
        EXPECT_EQ(recording.LitPoint('>', i), recording.LitPoint('K', i)) << i;  // the measurement is the speed
        EXPECT_LE(std::abs(recording.LitPoint('7', i)), 1024) << i;
        EXPECT_EQ(recording.LitPoint('c', i), static_cast<float>(i)) << i;
    }
    EXPECT_EQ(recording.LitPoint('K', 9), 0);
    EXPECT_GT(recording.LitPoint('K', 63), 30);  // on its way to 40
    // At the step: the error of 40 counts, and its first integral term 40 x 102 / 1024 (T / Ti in Q10).
    EXPECT_EQ(recording.LitPoint('7', 9), 44);
}
