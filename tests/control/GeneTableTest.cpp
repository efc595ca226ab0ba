// Tables of the setpoint generator: ramp, sine, trapezoid, their trace files
// and debug texts, and the parameters that give no table.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>

#include "GeneFixture.h"

using tarvic::test::TraceCapture;

namespace {

class GeneTableTest : public tarvic::test::GeneTest {
protected:
    // A ramp 0 -> `echelon` at `rampe` per second on bench `letter`.
    void Rampe(CGeneFonction& gene, float echelon, float rampe)
    {
        gene.SetFParam(0, echelon);
        gene.SetFParam(1, rampe);
        gene.SetCParam(0, CGeneFonction::Rampe);
    }
    void Trapeze(CGeneFonction& gene, float echelon, float vitesse, float acceleration)
    {
        gene.SetFParam(0, echelon);
        gene.SetFParam(1, vitesse);
        gene.SetFParam(6, acceleration);
        gene.SetCParam(0, CGeneFonction::Trapeze);
    }
    void ExpectEmpty(CGeneFonction& gene, const char* start)
    {
        EXPECT_EQ(gene.NbPoints, 0);
        EXPECT_EQ(gene.NbBlocs, 0);
        EXPECT_TRUE(gene.TablePoints.empty());
        EXPECT_EQ(gene.NbParam(), 6);
        EXPECT_EQ(gene.ConfFerz(5), start);
        EXPECT_EQ(gene.StrBloc(), "");
    }
};

}  // namespace

// --- ramp ----------------------------------------------------------------------

TEST_F(GeneTableTest, PercentRampOf53Points)
{
    CGeneFonction gene("GENE");
    TraceCapture traces;
    Rampe(gene, 50.0f, 10.0f);
    EXPECT_EQ(gene.TE_PT, 100.0f);
    ASSERT_EQ(gene.NbPoints, 53);
    EXPECT_EQ(gene.NbBlocs, 2);
    EXPECT_EQ(gene.NbParam(), 8);
    const std::vector<int> expected = {
        0,    32,   65,   97,   130,  163,  195,  228,  261,  293,  326,  359,  391,  424,  456,  489,  522,  554,
        587,  620,  652,  685,  718,  750,  783,  816,  848,  881,  913,  946,  979,  1011, 1044, 1077, 1109, 1142,
        1175, 1207, 1240, 1272, 1305, 1338, 1370, 1403, 1436, 1468, 1501, 1534, 1566, 1599, 1632, 1632, 1632};
    EXPECT_EQ(Points(gene), expected);
    EXPECT_EQ(Fichier("rampe.txt"), "Ech=50.000,repos=0.000;delta=50.000\nrang\tdelta\tconsigne\n");
    EXPECT_EQ(traces.Texts(), (std::vector<std::string>{"Ech=50.000,repos=0.000;delta=50.000",
                                                        "\nrang=53, pos_int=0,pos_rel=0.000\n", "nb_bloc=2\n"}));
}

TEST_F(GeneTableTest, DownloadOfTheRampBlockByBlock)
{
    CGeneFonction gene("GENE");
    Rampe(gene, 50.0f, 10.0f);
    EXPECT_EQ(Sequence(gene),
              (std::vector<std::string>{
                  "DSS", "DTTT0034", "RED0000", "CRBF0000", "RET0064",
                  "CRT00"
                  "0000002000410061008200A300C300E40105012501460167018701A801C801E9020A022A024B026C028C02AD02CE02EE"
                  "030F033003500371039103B203D303F3",
                  "CRT01"
                  "0414043504550476049704B704D804F80519053A055A057B059C05BC05DD05FE061E063F066006600660000000000000"
                  "00000000000000000000000000000000",
                  "DST"}));
    EXPECT_EQ(gene.StrBloc(), "");
    EXPECT_EQ(gene.BlocCourant, 2);
    // Asking for the point count again rewinds the download.
    gene.ConfFerz(1);
    EXPECT_EQ(gene.BlocCourant, 0);
    EXPECT_EQ(gene.StrBloc().substr(0, 9), "CRT000000");
}

TEST_F(GeneTableTest, RampByIncrementsEndsAt1005)
{
    Banc('X', 5);
    CGeneFonction gene("GENE");
    TraceCapture traces;
    Rampe(gene, 1000.0f, 150.0f);
    ASSERT_EQ(gene.NbPoints, 69);
    EXPECT_EQ(gene.TE_PT, 100.0f);
    EXPECT_EQ(gene.NbBlocs, 3);
    std::vector<int> expected(67, 15);
    expected.insert(expected.end(), {0, 0});
    EXPECT_EQ(Points(gene), expected);
    EXPECT_EQ(Somme(gene), 1005);
    std::string file = "Ech=1000.000,repos=0.000;delta=1000.000\nrang\tdelta\tconsigne\n";
    for (int i = 0; i < 69; ++i) file += tarvic::Format("%d\t%d\t%d\n", i, i <= 66 ? 15 : 0, 15 * std::min(i + 1, 67));
    EXPECT_EQ(Fichier("rampe.txt"), file);
    EXPECT_EQ(traces.Texts(), (std::vector<std::string>{"Ech=1000.000,repos=0.000;delta=1000.000",
                                                        "\nrang=69, pos_int=1005,pos_rel=1005.000\n", "nb_bloc=3\n"}));
}

TEST_F(GeneTableTest, OpenLoopRampOnACardUnitBenchHoldsLevels)
{
    Banc('S');
    CGeneFonction gene("GENE1");
    gene.SetFParam(4, 10.0f);
    Rampe(gene, 100.0f, 90.0f);
    EXPECT_EQ(Points(gene), (std::vector<int>{10, 19, 28, 37, 46, 55, 64, 73, 82, 91, 100, 100, 100}));
    EXPECT_EQ(Fichier("rampe.txt"), "Ech=100.000,repos=10.000;delta=90.000\nrang\tdelta\tconsigne\n");
}

TEST_F(GeneTableTest, SlowRampLengthensThePointPeriod)
{
    // At 100 ms a point would move 0.5: the period doubles.
    Banc('X');
    CGeneFonction gene("GENE");
    Rampe(gene, 20.0f, 5.0f);  // 4 s
    EXPECT_EQ(gene.TE_PT, 200.0f);
    EXPECT_EQ(gene.NbPoints, 23);
    EXPECT_EQ(gene.ConfFerz(4), "RET00C8");
}

TEST_F(GeneTableTest, LongRampStaysWithin512Points)
{
    Banc('X');
    CGeneFonction gene("GENE");
    Rampe(gene, 1000.0f, 10.0f);  // 100 s: 1000 points at 100 ms
    EXPECT_EQ(gene.TE_PT, 200.0f);
    EXPECT_EQ(gene.NbPoints, 503);
    EXPECT_EQ(gene.NbBlocs, 16);
    EXPECT_EQ(gene.NbParam(), 22);
}

// --- ramps that give no table ------------------------------------------------

TEST_F(GeneTableTest, FlatOrNonRisingRampGivesAnEmptyTable)
{
    CGeneFonction gene("GENE");
    TraceCapture traces;
    Rampe(gene, 0.0f, 10.0f);
    ExpectEmpty(gene, "DST");
    EXPECT_EQ(gene.ConfFerz(1), "DTTTFFFFFFFF");
    EXPECT_EQ(Fichier("rampe.txt"), "Ech=0.000,repos=0.000;delta=0.000\n");
    EXPECT_EQ(traces.Texts(), (std::vector<std::string>{"Ech=0.000,repos=0.000;delta=0.000"}));

    Rampe(gene, 50.0f, 0.0f);
    ExpectEmpty(gene, "DST");
    Rampe(gene, 50.0f, -10.0f);
    ExpectEmpty(gene, "DST");
}

TEST_F(GeneTableTest, RampFallingBelowItsRestValueIsRejected)
{
    CGeneFonction gene("GENE");
    Rampe(gene, 50.0f, 10.0f);
    ASSERT_EQ(gene.NbPoints, 53);
    gene.SetFParam(4, 80.0f);
    Rampe(gene, 50.0f, 10.0f);
    ExpectEmpty(gene, "DST");
    EXPECT_EQ(Fichier("rampe.txt"), "Ech=50.000,repos=80.000;delta=-30.000\n");
    // A long fall, which would have asked for a negative number of points.
    gene.SetFParam(4, 1000.0f);
    Rampe(gene, -1000.0f, 0.001f);
    ExpectEmpty(gene, "DST");
}

TEST_F(GeneTableTest, RampThatNoPeriodCanCarryIsRejected)
{
    Banc('X');
    CGeneFonction gene("GENE");
    Rampe(gene, 1.0e7f, 1.0f);  // would need a point period beyond 65535 ms
    ExpectEmpty(gene, "DST");
    Rampe(gene, std::numeric_limits<float>::infinity(), 10.0f);
    ExpectEmpty(gene, "DST");
    Rampe(gene, 100.0f, std::numeric_limits<float>::quiet_NaN());
    ExpectEmpty(gene, "DST");
    gene.SetFParam(1000, 0.0f);  // no card period: no period search at all
    Rampe(gene, 100.0f, 10.0f);
    ExpectEmpty(gene, "DST");
}

// --- trapezoid -----------------------------------------------------------------

TEST_F(GeneTableTest, TrapezoidOf134PointsAddsUpTo999)
{
    Banc('X', 5);
    m_profile->WriteProfileInt("FERZ", "TE", 10);
    CGeneFonction gene("GENE");
    TraceCapture traces;
    Trapeze(gene, 1000.0f, 100.0f, 200.0f);
    EXPECT_EQ(gene.TE_PT, 80.0f);
    ASSERT_EQ(gene.NbPoints, 134);
    EXPECT_EQ(gene.NbBlocs, 5);
    EXPECT_EQ(gene.NbParam(), 11);
    const std::vector<int> points = Points(gene);
    EXPECT_EQ(std::vector<int>(points.begin(), points.begin() + 9), (std::vector<int>{0, 1, 2, 4, 5, 7, 7, 8, 8}));
    EXPECT_EQ(std::vector<int>(points.end() - 8, points.end()), (std::vector<int>{7, 6, 4, 3, 1, 0, 0, 0}));
    EXPECT_EQ(Somme(gene), 999);
    const std::string file = Fichier("trap.txt");
    const std::string debut =
        "Echelon=1000.000 inc\tcons_repos=0.000\tdelta=1000.000\ntemps\tdelta\tposition\n"
        "0\t0\t0\n1\t1\t1\n2\t2\t3\n3\t3\t7\n";
    const std::string fin = "\n131\t0\t999\n132\t0\t999\n133\t0\t999\n";
    EXPECT_EQ(file.substr(0, debut.size()), debut);
    ASSERT_GE(file.size(), fin.size());
    EXPECT_EQ(file.substr(file.size() - fin.size()), fin);
    EXPECT_EQ(std::count(file.begin(), file.end(), '\n'), 136);
    EXPECT_EQ(traces.Texts(),
              (std::vector<std::string>{"\ndelta=1000.000", "\nacc=200.000, vmax=100.000, te_pt=80.000\n",
                                        "\n(134=10.640000)=d 0.000000 p_r=1000.000 p_i=999\nnb_bloc=5\n"}));
}

TEST_F(GeneTableTest, ShortTrapezoidOf21Points)
{
    Banc('X', 5);
    m_profile->WriteProfileInt("FERZ", "TE", 10);
    CGeneFonction gene("GENE");
    TraceCapture traces;
    Trapeze(gene, 100.0f, 100.0f, 200.0f);
    EXPECT_EQ(gene.TE_PT, 80.0f);
    EXPECT_EQ(Points(gene), (std::vector<int>{0, 1, 2, 4, 5, 7, 7, 8, 8, 8, 8, 8, 8, 8, 6, 5, 3, 2, 1, 0, 0}));
    EXPECT_EQ(Somme(gene), 99);
    EXPECT_EQ(Fichier("trap.txt"),
              "Echelon=100.000 inc\tcons_repos=0.000\tdelta=100.000\ntemps\tdelta\tposition\n"
              "0\t0\t0\n1\t1\t1\n2\t2\t3\n3\t3\t7\n4\t5\t12\n5\t6\t19\n6\t7\t26\n7\t8\t34\n8\t8\t42\n"
              "9\t8\t50\n10\t8\t58\n11\t8\t66\n12\t8\t74\n13\t7\t82\n14\t6\t88\n15\t4\t93\n16\t3\t96\n"
              "17\t2\t98\n18\t0\t99\n19\t0\t99\n20\t0\t99\n");
    EXPECT_EQ(traces.Texts(),
              (std::vector<std::string>{"\ndelta=100.000", "\nacc=200.000, vmax=100.000, te_pt=80.000\n",
                                        "\n(21=1.600000)=d 0.000000 p_r=99.840 p_i=99\nnb_bloc=1\n"}));
    EXPECT_EQ(gene.ConfFerz(4), "RET0050");
    EXPECT_EQ(gene.ConfFerz(1003), "");
}

TEST_F(GeneTableTest, DescendingTrapezoidMirrorsTheRisingOne)
{
    Banc('S');
    m_profile->WriteProfileInt("FERZ", "TE", 10);
    CGeneFonction gene("GENE");
    Trapeze(gene, -100.0f, 100.0f, 200.0f);
    EXPECT_EQ(Points(gene),
              (std::vector<int>{0, -1, -2, -4, -5, -7, -7, -8, -8, -8, -8, -8, -8, -8, -6, -5, -3, -2, -1, 0, 0}));
}

TEST_F(GeneTableTest, ShortMoveBecomesATriangle)
{
    Banc('X');
    m_profile->WriteProfileInt("FERZ", "TE", 10);
    CGeneFonction gene("GENE");
    TraceCapture traces;
    Trapeze(gene, 10.0f, 100.0f, 200.0f);
    // Peak speed sqrt(10 * 200) = 44.721, total time 0.447 s.
    ASSERT_EQ(traces.Texts().size(), 3u);
    EXPECT_EQ(traces.Texts()[1], "\nacc=200.000, vmax=44.721, te_pt=80.000\n");
    EXPECT_EQ(gene.NbPoints, 8);
}

TEST_F(GeneTableTest, OpenLoopAndPercentTrapezoidsHoldPositions)
{
    Banc('X');
    m_profile->WriteProfileInt("FERZ", "TE", 10);
    CGeneFonction open("GENE1");
    Trapeze(open, 100.0f, 100.0f, 200.0f);
    EXPECT_EQ(Points(open),
              (std::vector<int>{0, 1, 3, 7, 12, 19, 26, 34, 42, 50, 58, 66, 74, 82, 88, 93, 96, 98, 99, 99, 99}));
    Banc('D');
    CGeneFonction percent("GENE");
    Trapeze(percent, 100.0f, 100.0f, 200.0f);  // in percent: 100 % is 3264
    ASSERT_EQ(percent.NbPoints, 21);
    EXPECT_EQ(percent.TablePoints[1], 41);  // 1.28 % of 3264
    EXPECT_EQ(percent.TablePoints[20], 3258);
}

TEST_F(GeneTableTest, TrapezoidWithoutSpeedOrAccelerationIsRejected)
{
    Banc('X');
    CGeneFonction gene("GENE");
    Trapeze(gene, 100.0f, 100.0f, 0.0f);
    ExpectEmpty(gene, "DST");
    EXPECT_EQ(Fichier("trap.txt"), "Echelon=100.000 inc\tcons_repos=0.000\tdelta=100.000\n");
    Trapeze(gene, 100.0f, 0.0f, 200.0f);
    ExpectEmpty(gene, "DST");
    Trapeze(gene, 100.0f, 100.0f, -200.0f);
    ExpectEmpty(gene, "DST");
    Trapeze(gene, 100.0f, 100.0f, 1.0e-12f);  // would need an endless period search
    ExpectEmpty(gene, "DST");
}

// --- sine -------------------------------------------------------------------------

TEST_F(GeneTableTest, SineOfTenPointsInCardUnits)
{
    Banc('X');
    CGeneFonction gene("GENE");
    gene.SetCParam(0, CGeneFonction::Sinus);
    EXPECT_EQ(gene.TE_SINUS, 100.0f);
    EXPECT_EQ(Points(gene), (std::vector<int>{0, 5, 9, 9, 5, 0, -5, -9, -9, -5}));
    EXPECT_EQ(gene.NbBlocs, 1);
    EXPECT_EQ(Sequence(gene),
              (std::vector<std::string>{"DSS", "DTTS0009", "RED0000", "CRBF00000000", "RES0064",
                                        "CRS00" "000000050009000900050000FFFBFFF7FFF7FFFB" + std::string(22 * 4, '0'),
                                        "DSR"}));
}

TEST_F(GeneTableTest, SineOfTenPointsInPercent)
{
    CGeneFonction gene("GENE");
    gene.SetFParam(0, 50.0f);
    gene.SetCParam(0, CGeneFonction::Sinus);
    EXPECT_EQ(Points(gene), (std::vector<int>{1632, 1823, 1942, 1942, 1823, 1632, 1440, 1321, 1321, 1440}));
}

TEST_F(GeneTableTest, SinePointCountFollowsTheCardPeriod)
{
    m_profile->WriteProfileInt("FERZ", "TE", 5);
    CGeneFonction gene("GENE");
    gene.SetCParam(0, CGeneFonction::Sinus);
    EXPECT_EQ(gene.NbPoints, 200);
    EXPECT_EQ(gene.TE_SINUS, 5.0f);
    EXPECT_EQ(gene.NbBlocs, 7);
    gene.SetFParam(2, 0.01f);  // a slow sine keeps 200 points, further apart
    gene.SetCParam(0, CGeneFonction::Sinus);
    EXPECT_EQ(gene.NbPoints, 200);
    EXPECT_EQ(gene.TE_SINUS, 500.0f);
}

TEST_F(GeneTableTest, SineWithoutAUsableFrequencyGivesAnEmptyTable)
{
    CGeneFonction gene("GENE");
    for (const float frequence :
         {0.0f, -1.0f, 20.0f, std::numeric_limits<float>::infinity(), std::numeric_limits<float>::quiet_NaN()}) {
        gene.SetFParam(2, frequence);
        gene.SetCParam(0, CGeneFonction::Sinus);
        ExpectEmpty(gene, "DSR");
        EXPECT_EQ(gene.ConfFerz(1), "DTTSFFFFFFFF");
    }
}

TEST_F(GeneTableTest, CalculationGoesOnWhenTheTraceFileCannotBeOpened)
{
    std::filesystem::create_directory("rampe.txt");
    std::filesystem::create_directory("trap.txt");
    Banc('X');
    CGeneFonction gene("GENE");
    Rampe(gene, 1000.0f, 150.0f);
    EXPECT_EQ(gene.NbPoints, 69);
    Trapeze(gene, 100.0f, 100.0f, 200.0f);
    EXPECT_EQ(gene.NbPoints, 10);
    EXPECT_TRUE(std::filesystem::is_directory("rampe.txt"));
}
