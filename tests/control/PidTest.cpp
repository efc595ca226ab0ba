#include <gtest/gtest.h>

#include "ControlFixture.h"
#include "tarvic/control/Pid.h"

using tarvic::test::Charge;
using tarvic::test::Octets;
using tarvic::test::Stocke;

namespace {

class PidTest : public tarvic::test::ControlTest {};

}  // namespace

// --- construction and profile -------------------------------------------------

TEST_F(PidTest, EmptyProfileGivesTheFactoryDefaultsAndAnOpenController)
{
    CPid pid;
    EXPECT_EQ(pid.LitGrp(), "D_MODE0_PID");
    EXPECT_EQ(pid.KP, 1.0f);
    EXPECT_EQ(pid.KS, 1.0f);
    EXPECT_EQ(pid.TI, 100.0f);
    EXPECT_EQ(pid.TD, 50.0f);
    EXPECT_EQ(pid.KF, 1.0f);
    EXPECT_EQ(pid.TE, 100.0f);
    EXPECT_EQ(pid.Actions, 0);
    EXPECT_EQ(pid.SourceCommande, 'I');
    EXPECT_EQ(pid.LitBRetour(), 'I');
    EXPECT_EQ(pid.TypeSortie, 0);
    EXPECT_EQ(pid.Unite, "inc");
    EXPECT_EQ(pid.LitConfiguration(0),
              "\\gCorrecteur:\\n PID Ouvert\n\\gProcessus:\\n Commande Isol\xE9" "e\\n , Liaison mesure ouverte");
}

TEST_F(PidTest, ParametersComeFromTheModeSectionAndFerz)
{
    Banc('X', 5);
    m_profile->WriteProfileString("X_MODE5_PID", "KP", "2.5");
    m_profile->WriteProfileString("X_MODE5_PID", "TI", "not a number");
    m_profile->WriteProfileInt("FERZ", "TE", 20);
    CPid pid;
    EXPECT_EQ(pid.KP, 2.5f);
    EXPECT_EQ(pid.TI, 100.0f);
    EXPECT_EQ(pid.TE, 20.0f);
}

TEST_F(PidTest, SetFParamStoresAndWritesTheProfileAtOnce)
{
    CPid pid;
    EXPECT_TRUE(pid.SetFParam(10, 2.25f));
    EXPECT_TRUE(pid.SetFParam(11, 12.0f));
    EXPECT_TRUE(pid.SetFParam(12, 0.5f));
    EXPECT_TRUE(pid.SetFParam(13, 3.0f));
    EXPECT_EQ(Entree("D_MODE0_PID", "KP"), "2.250");
    EXPECT_EQ(Entree("D_MODE0_PID", "TI"), "12.000");
    EXPECT_EQ(Entree("D_MODE0_PID", "TD"), "0.500");
    EXPECT_EQ(Entree("D_MODE0_PID", "KF"), "3.000");
    CPid next;
    EXPECT_EQ(next.KP, 2.25f);
    EXPECT_EQ(next.KF, 3.0f);
    float v = 0;
    EXPECT_TRUE(next.LitFParam(12, v));
    EXPECT_EQ(v, 0.5f);
}

TEST_F(PidTest, PeriodIsStoredAndSharedButReportsFalse)
{
    CPid pid;
    EXPECT_FALSE(pid.SetFParam(1000, 20.7f));
    EXPECT_EQ(pid.TE, 20.7f);
    EXPECT_EQ(Entree("FERZ", "TE"), "20");
    float v = 0;
    EXPECT_TRUE(pid.LitFParam(1000, v));
    EXPECT_EQ(v, 20.7f);
}

TEST_F(PidTest, UnlistedParametersChangeNothing)
{
    CPid pid;
    float v = 7.0f;
    int i = 7;
    EXPECT_FALSE(pid.LitFParam(9, v));
    EXPECT_FALSE(pid.LitFParam(-1, v));
    EXPECT_EQ(v, 7.0f);
    EXPECT_FALSE(pid.SetFParam(15, 1.0f));
    EXPECT_FALSE(pid.SetCParam(9, 1));
    EXPECT_FALSE(pid.LitCParam(1000, i));
    EXPECT_FALSE(pid.LitEtat(8, i));
    EXPECT_EQ(i, 7);
    EXPECT_EQ(pid.Actions, 0);
}

TEST_F(PidTest, OutputGainIsConvertedByTheOutputKind)
{
    CPid pid;
    EXPECT_FALSE(pid.SetCParam(55, 'T'));
    EXPECT_EQ(pid.TypeSortie, 'T');
    EXPECT_TRUE(pid.SetFParam(14, 2.0f));
    EXPECT_FLOAT_EQ(pid.KS, 0.08526f);
    EXPECT_EQ(Entree("D_MODE0_PID", "KS"), "0.085");
    float v = 0;
    EXPECT_TRUE(pid.LitFParam(14, v));
    EXPECT_FLOAT_EQ(v, 2.0f);

    pid.TypeSortie = 'C';
    pid.Echelle = 4.0f;
    EXPECT_TRUE(pid.SetFParam(14, 0.5f));
    EXPECT_FLOAT_EQ(pid.KS, 4.096f);
    EXPECT_TRUE(pid.LitFParam(14, v));
    EXPECT_FLOAT_EQ(v, 0.5f);
}

// --- coefficient commands ------------------------------------------------------

TEST_F(PidTest, DefaultCoefficientsOnThePercentBench)
{
    CPid pid;
    EXPECT_EQ(pid.ConfFerz(2), "RKP0400010003FFC000");
    EXPECT_EQ(pid.ConfFerz(3), "RKI0001");
    EXPECT_EQ(pid.ConfFerz(4), "RKD03FE");
    EXPECT_EQ(pid.ConfFerz(5), "RKF03FD");
    EXPECT_EQ(pid.ConfFerz(10), pid.ConfFerz(2));
    EXPECT_EQ(pid.ConfFerz(14), pid.ConfFerz(2));
    EXPECT_EQ(pid.ConfFerz(11), pid.ConfFerz(3));
    EXPECT_EQ(pid.ConfFerz(12), pid.ConfFerz(4));
    EXPECT_EQ(pid.ConfFerz(13), pid.ConfFerz(5));
}

TEST_F(PidTest, CardUnitBenchesNormaliseFrom1024)
{
    for (const char letter : {'S', 'I', 'X'}) {
        Banc(letter);
        CPid pid;
        EXPECT_EQ(pid.ConfFerz(2), "RKP04000100" "01400000") << letter;
    }
}

TEST_F(PidTest, ProportionalFieldWrapsAt16Bits)
{
    CPid pid;
    pid.KP = 40.0f;
    EXPECT_EQ(pid.ConfFerz(2), "RKPA000010003FFC000");
    pid.KP = 64.0f;
    EXPECT_EQ(pid.ConfFerz(2), "RKP0000010003FFC000");
}

TEST_F(PidTest, NormaliserDividesByTheOutputGainUnlessZero)
{
    CPid pid;
    pid.KS = 2.0f;
    // 3276 / 2 * 1024 * 20 = 33546240
    EXPECT_EQ(pid.ConfFerz(2), "RKP0400020001FFE000");
    pid.KS = 0.0f;
    EXPECT_EQ(pid.ConfFerz(2), "RKP0400000003FFC000");
}

TEST_F(PidTest, ZeroTimesGiveDefinedFields)
{
    CPid pid;
    pid.TI = 0.0f;
    EXPECT_EQ(pid.ConfFerz(3), "RKI0000");
    pid.TD = 0.0f;
    EXPECT_EQ(pid.ConfFerz(4), "RKD0000");
    EXPECT_EQ(pid.ConfFerz(5), "RKF0000");
    pid.TE = 0.0f;
    pid.TD = 50.0f;
    EXPECT_EQ(pid.ConfFerz(1), "RER0000");
    EXPECT_EQ(pid.ConfFerz(4), "RKD0000");
    EXPECT_EQ(pid.ConfFerz(5), "RKF0400");
}

TEST_F(PidTest, ConfigurationSequenceAndFragments)
{
    Banc('D', 1);
    CPid pid;
    EXPECT_EQ(pid.NbParam(), 6);
    pid.SetCParam(2, 1);
    pid.SetCParam(3, 1);
    pid.SetCParam(1, 1);
    EXPECT_EQ(pid.ConfFerz(0), "RTRE183");
    EXPECT_EQ(pid.ConfFerz(100), "RTRE183");
    EXPECT_EQ(pid.ConfFerz(1), "RER0064");
    pid.SetCParam(6, 2);
    pid.SetCParam(7, 1);
    EXPECT_EQ(pid.ConfFerz(6), "DCPDFTD");
    EXPECT_EQ(pid.ConfFerz(7), "DCPDFTD");
    EXPECT_EQ(pid.ConfFerz(8), "RRZI0");
    pid.SetCParam(8, 5);
    EXPECT_EQ(pid.ConfFerz(8), "RRZI1");
    EXPECT_EQ(pid.ConfFerz(101), "RS");
    pid.ModeRD = true;
    EXPECT_EQ(pid.ConfFerz(101), "RD");
    EXPECT_EQ(pid.ConfFerz(1001), "FTD");
    EXPECT_EQ(pid.ConfFerz(1002), "183");
    EXPECT_EQ(pid.ConfFerz(1008), "0064");
    EXPECT_EQ(pid.ConfFerz(9), "");
    EXPECT_EQ(pid.ConfFerz(-1), "");
    EXPECT_EQ(pid.ConfFerz(1003), "");
}

// --- actions and wiring -----------------------------------------------------------

TEST_F(PidTest, ActionBitsAreSetOnlyByOne)
{
    CPid pid;
    const std::uint8_t bits[] = {0x80, 0x01, 0x02, 0x04, 0x08};
    for (int n = 1; n <= 5; ++n) {
        int v = -1;
        EXPECT_TRUE(pid.SetCParam(n, 1));
        EXPECT_EQ(pid.Actions, bits[n - 1]) << n;
        EXPECT_TRUE(pid.LitEtat(n, v));
        EXPECT_EQ(v, 1);
        EXPECT_TRUE(pid.SetCParam(n, 2));
        EXPECT_EQ(pid.Actions, 0) << n;
        EXPECT_TRUE(pid.LitEtat(n, v));
        EXPECT_EQ(v, 0);
    }
}

struct Lettres {
    char process;
    char commande1;
    char retour1;
    char retour2;
};

TEST_F(PidTest, CommandAndFeedbackLettersDependOnTheBench)
{
    const Lettres table[] = {
        {'D', 'D', 'D', 'T'}, {'N', 'P', 'P', '1'}, {'I', 'F', 'V', 'P'}, {'S', 'F', 'V', 'P'}, {'X', 'F', 'V', 'P'}};
    for (const auto& row : table) {
        Banc(row.process);
        CPid pid;
        EXPECT_TRUE(pid.SetCParam(6, 1));
        EXPECT_EQ(pid.SourceCommande, row.commande1) << row.process;
        EXPECT_TRUE(pid.SetCParam(6, 0));
        EXPECT_EQ(pid.SourceCommande, 'I');
        EXPECT_TRUE(pid.SetCParam(6, 'x'));
        EXPECT_EQ(pid.SourceCommande, 'T');
        EXPECT_TRUE(pid.SetCParam(7, 1));
        EXPECT_EQ(pid.SourceRetour, row.retour1) << row.process;
        EXPECT_TRUE(pid.SetCParam(7, 2));
        EXPECT_EQ(pid.SourceRetour, row.retour2) << row.process;
        EXPECT_TRUE(pid.SetCParam(7, 3));
        EXPECT_EQ(pid.SourceRetour, '2');
        EXPECT_TRUE(pid.SetCParam(7, 0));
        EXPECT_EQ(pid.LitBRetour(), 'I');
    }
}

TEST_F(PidTest, UnknownBenchKeepsTheRoutedLetters)
{
    Banc('Q');
    CPid pid;
    pid.SetCParam(6, 2);
    pid.SetCParam(7, 3);
    EXPECT_TRUE(pid.SetCParam(6, 1));
    EXPECT_TRUE(pid.SetCParam(7, 1));
    EXPECT_TRUE(pid.SetCParam(7, 2));
    EXPECT_EQ(pid.SourceCommande, 'T');
    EXPECT_EQ(pid.SourceRetour, '2');
}

TEST_F(PidTest, ShortcutFeedbackParameters)
{
    CPid pid;
    EXPECT_TRUE(pid.SetCParam(13, 1));
    EXPECT_EQ(pid.SourceRetour, 'V');
    EXPECT_TRUE(pid.SetCParam(14, 9));
    EXPECT_EQ(pid.SourceRetour, 'P');
    EXPECT_TRUE(pid.SetCParam(13, 0));
    EXPECT_EQ(pid.SourceRetour, 'I');
}

TEST_F(PidTest, StatesMapTheLettersBackToTheChoices)
{
    for (const char letter : {'D', 'N', 'S'}) {
        Banc(letter);
        CPid pid;
        const int choices = letter == 'S' ? 3 : 4;
        for (int c = 0; c < choices; ++c) {
            int v = -1;
            pid.SetCParam(7, static_cast<char>(c));
            EXPECT_TRUE(pid.LitEtat(7, v));
            EXPECT_EQ(v, c) << letter;
        }
        for (int c = 0; c < 3; ++c) {
            int v = -1;
            pid.SetCParam(6, static_cast<char>(c));
            EXPECT_TRUE(pid.LitEtat(6, v));
            EXPECT_EQ(v, c) << letter;
        }
    }
    Banc('X');
    CPid pid;
    pid.SetCParam(7, 3);  // '2' is no choice on a card-unit bench
    int v = 42;
    EXPECT_TRUE(pid.LitEtat(7, v));
    EXPECT_EQ(v, 42);
}

// --- limits -------------------------------------------------------------------------

TEST_F(PidTest, LimitsFollowThePeriodAndTheOutputKind)
{
    CPid pid;
    float min = -1, max = -1;
    pid.LitMinMax(10, min, max);
    EXPECT_FLOAT_EQ(min, 0.001f);
    EXPECT_EQ(max, 64.0f);
    pid.LitMinMax(11, min, max);
    EXPECT_FLOAT_EQ(min, 0.0015625f);
    EXPECT_FLOAT_EQ(max, 100.0f);
    pid.LitMinMax(12, min, max);
    EXPECT_FLOAT_EQ(min, 0.00001f);
    EXPECT_FLOAT_EQ(max, 6.4f);
    pid.LitMinMax(13, min, max);
    EXPECT_EQ(min, 1.0f);
    EXPECT_EQ(max, 20.0f);
    pid.LitMinMax(14, min, max);
    EXPECT_FLOAT_EQ(min, 0.004f);
    EXPECT_EQ(max, 256.0f);
    pid.TypeSortie = 'T';
    pid.LitMinMax(14, min, max);
    EXPECT_FLOAT_EQ(min, 0.09383064f);
    EXPECT_FLOAT_EQ(max, 6005.1607f);
    pid.TypeSortie = 'C';
    pid.LitMinMax(14, min, max);
    EXPECT_FLOAT_EQ(min, 0.001953125f);
    EXPECT_EQ(max, 125.0f);
    min = max = -1;
    pid.LitMinMax(9, min, max);
    EXPECT_EQ(min, -1.0f);
    EXPECT_EQ(max, -1.0f);
}

// --- replies --------------------------------------------------------------------------

TEST_F(PidTest, RequestsAreApidThenAvs)
{
    CPid pid;
    EXPECT_EQ(pid.DmdMesure(0), "APID");
    EXPECT_EQ(pid.DmdMesure(1), "AVS");
    EXPECT_EQ(pid.DmdMesure(2), "");
    EXPECT_EQ(pid.DmdMesure(-1), "");
}

TEST_F(PidTest, ApidValuesArePercentOnThePercentBench)
{
    CPid pid;
    EXPECT_TRUE(pid.TraitRecept("!APID0CC00000F340\r\n"));
    EXPECT_EQ(pid.LitSonde(0), 100.0f);
    EXPECT_EQ(pid.LitSonde(1), 0.0f);
    EXPECT_EQ(pid.LitSonde(2), -100.0f);
}

TEST_F(PidTest, ApidWinsOverAvsInTheSameReply)
{
    Banc('S');
    CPid pid;
    EXPECT_TRUE(pid.TraitRecept("AVS00000001APID00100020FFF0"));
    EXPECT_EQ(pid.LitSonde(0), 16.0f);
    EXPECT_EQ(pid.LitSonde(1), 32.0f);
    EXPECT_EQ(pid.LitSonde(2), -16.0f);
    EXPECT_EQ(pid.LitSonde(3), 0.0f);
}

TEST_F(PidTest, AvsOutputValueIsClampedToExactlyOneHundredPercent)
{
    CPid pid;
    EXPECT_TRUE(pid.TraitRecept("!AVS0666FFFF0CC01000"));
    EXPECT_FLOAT_EQ(pid.LitSonde(3), 1638.0f / 3264.0f * 100.0f);
    EXPECT_FLOAT_EQ(pid.LitSonde(4), -1.0f / 3264.0f * 100.0f);
    EXPECT_EQ(pid.LitSonde(5), 100.0f);
    EXPECT_EQ(pid.LitSonde(6), 100.0f);
    EXPECT_EQ(pid.ValeursVS[3], 100.0f);
}

TEST_F(PidTest, AvsOnCardUnitBenchesReadsTwoLongValuesUnconverted)
{
    Banc('S');
    CPid pid;
    EXPECT_TRUE(pid.TraitRecept("AVSFFFFFFFE0001000080001000"));
    EXPECT_EQ(pid.LitSonde(3), -2.0f);
    EXPECT_EQ(pid.LitSonde(4), 65536.0f);
    EXPECT_EQ(pid.LitSonde(5), -32768.0f);
    EXPECT_EQ(pid.LitSonde(6), 4096.0f);
    pid.TypeSortie = 'T';
    EXPECT_EQ(pid.LitSonde(6), 96.0f);
    pid.TypeSortie = 'C';
    EXPECT_EQ(pid.LitSonde(6), 2000.0f);
    pid.TypeSortie = 'Z';
    EXPECT_EQ(pid.LitSonde(6), 4.0f);
    EXPECT_EQ(pid.LitSonde(7), 0.0f);
    EXPECT_EQ(pid.LitSonde(-1), 0.0f);
}

TEST_F(PidTest, ShortReplyKeepsTheValuesItDoesNotCarry)
{
    CPid pid;
    ASSERT_TRUE(pid.TraitRecept("AVS0CC00CC00CC00CC0"));
    EXPECT_TRUE(pid.TraitRecept("AVS0000"));
    EXPECT_EQ(pid.LitSonde(3), 0.0f);
    EXPECT_EQ(pid.LitSonde(4), 100.0f);
    EXPECT_EQ(pid.LitSonde(6), 100.0f);
}

TEST_F(PidTest, ReplyWithoutItsMnemonicsChangesNothing)
{
    CPid pid;
    ASSERT_TRUE(pid.TraitRecept("APID0CC00CC00CC0"));
    EXPECT_FALSE(pid.TraitRecept("ASP0000"));
    EXPECT_FALSE(pid.TraitRecept(""));
    EXPECT_EQ(pid.LitSonde(0), 100.0f);
}

// --- descriptions ------------------------------------------------------------------------

TEST_F(PidTest, FullControllerDescription)
{
    CPid pid;
    for (int n = 2; n <= 5; ++n) pid.SetCParam(n, 1);
    pid.SetFParam(10, 2.5f);
    pid.SetFParam(11, 10.0f);
    pid.SetFParam(12, 1.0f);
    pid.SetFParam(13, 4.0f);
    pid.SetCParam(6, 2);
    pid.SetCParam(7, 1);
    EXPECT_EQ(
        pid.LitConfiguration(0),
        "\\gCorrecteur:\\n PID K1= 2.50, Ti= 10.00 s, Td= 1.00 s, \\f1a\\n= 4.000, Action d\xE9riv\xE9" "e sur mesure, K2= 1.000 \n\\gProcessus:\\n Commande Temp\xE9rature, Mesure du d\xE9" "bit");
    EXPECT_EQ(
        pid.LitConfiguration(1),
        "\\gCorrecteur:\\n PID\n K1 = 2.50\n Ti = 10.00 s\n Td = 1.00 s\n \\f1a\\n = 4.00\nd\xE9riv\xE9" "e sur mesure\n K2 = 1.000 \n\\gProcessus:\\n \nCommande Temp\xE9rature\n Mesure du d\xE9" "bit\n");
}

TEST_F(PidTest, DerivativeOnErrorWithAVoltageOutput)
{
    CPid pid;
    pid.SetCParam(4, 1);
    pid.SetCParam(55, 'T');
    pid.SetFParam(14, 2.0f);
    pid.SetCParam(7, 2);
    EXPECT_EQ(pid.LitConfiguration(0),
              "\\gCorrecteur:\\n PID, Td= 50.00 s, \\f1a\\n= 1.000, Action d\xE9riv\xE9" "e sur \xE9" "cart, K2= 2.000 "
              "mV/inc\n\\gProcessus:\\n Commande Isol\xE9" "e\\n , Mesure de la temp\xE9rature");
    EXPECT_EQ(pid.LitConfiguration(7),
              "\\gCorrecteur:\\n PID\n Td = 50.00 s\n \\f1a\\n = 1.00\nd\xE9riv\xE9" "e sur \xE9" "cart\n K2 = 2.000 "
              "mV/inc\n\\gProcessus:\\n\n Commande Isol\xE9" "e\\n\n Mesure de la temp.\n");
}

TEST_F(PidTest, OpenControllerMultiLine)
{
    CPid pid;
    pid.SetCParam(6, 1);
    EXPECT_EQ(pid.LitConfiguration(1),
              "\\gCorrecteur:\\n PID\nOuvert\n\n\\gProcessus:\\n \nCommande D\xE9" "bit\n Mesure ouverte\n");
}

TEST_F(PidTest, CurrentOutputUnitMatchingTheQuantityIsNotRepeated)
{
    CPid pid;
    pid.SetCParam(2, 1);
    pid.TypeSortie = 'C';
    pid.Unite = "mA";
    pid.KS = 4.096f;
    EXPECT_EQ(
        pid.LitConfiguration(0),
        "\\gCorrecteur:\\n PID K1= 1.00, K2= 2.000 \n\\gProcessus:\\n Commande Isol\xE9" "e\\n , Liaison mesure ouverte");
}

// --- copies and archives --------------------------------------------------------------------

TEST_F(PidTest, CopyKeepsTheSettingsAndClearsTheRest)
{
    CPid pid;
    pid.SetCParam(2, 1);
    pid.SetFParam(10, 3.0f);
    pid.SetCParam(6, 2);
    pid.SetCParam(8, 1);
    pid.ModeRD = true;
    pid.TypeSortie = 'T';
    pid.Unite = "tr";
    pid.Echelle = 2.0f;
    pid.TraitRecept("AVS0CC00CC00CC00CC0");
    CPid copy(&pid);
    EXPECT_EQ(copy.LitGrp(), pid.LitGrp());
    EXPECT_EQ(copy.KP, 3.0f);
    EXPECT_EQ(copy.Actions, 0x01);
    EXPECT_EQ(copy.SourceCommande, 'T');
    EXPECT_EQ(copy.TypeSortie, 'T');
    EXPECT_EQ(copy.Unite, "tr");
    EXPECT_EQ(copy.Echelle, 2.0f);
    EXPECT_FALSE(copy.ModeRD);
    EXPECT_FALSE(copy.RZI);
    EXPECT_EQ(copy.LitSonde(3), 0.0f);
}

TEST_F(PidTest, ArchiveRecordByteForByte)
{
    CPid pid;
    pid.SourceCommande = 'T';
    pid.SourceRetour = 'D';
    pid.Actions = 0x83;
    pid.KP = 2.5f;
    pid.TI = 10.0f;
    pid.TD = 1.0f;
    pid.KF = 4.0f;
    const std::string expected = std::string("TD\x83") + Octets(100.0f) + Octets(2.5f) + Octets(1.0f) + Octets(10.0f) +
                                 Octets(1.0f) + Octets(4.0f);
    EXPECT_EQ(Stocke(pid), expected);
}

TEST_F(PidTest, LoadingClearsTheCardFlagAndTheModeFlags)
{
    CPid source;
    source.SourceCommande = 'T';
    source.SourceRetour = 'D';
    source.Actions = 0x8F;
    source.TE = 50.0f;
    source.KS = 0.5f;
    const std::string bytes = Stocke(source);
    CPid pid;
    pid.ModeRD = true;
    pid.SetCParam(8, 1);
    ASSERT_TRUE(Charge(pid, bytes));
    EXPECT_EQ(pid.Actions, 0x0F);
    EXPECT_EQ(pid.SourceCommande, 'T');
    EXPECT_EQ(pid.SourceRetour, 'D');
    EXPECT_EQ(pid.TE, 50.0f);
    EXPECT_EQ(pid.KS, 0.5f);
    EXPECT_FALSE(pid.ModeRD);
    EXPECT_FALSE(pid.RZI);
}

TEST_F(PidTest, IsCreatableFromItsClassName)
{
    const CRuntimeClass* record = CRuntimeClass::FromName("CPid");
    ASSERT_NE(record, nullptr);
    EXPECT_EQ(record->m_wSchema, 0);
    std::unique_ptr<CObject> object(record->CreateObject());
    ASSERT_NE(object, nullptr);
    EXPECT_TRUE(object->IsKindOf(RUNTIME_CLASS(CEidElement)));
    EXPECT_EQ(static_cast<CPid*>(object.get())->LitGrp(), "D_MODE0_PID");
}
