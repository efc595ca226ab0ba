#include <gtest/gtest.h>

#include <cmath>

#include "BancTestSupport.h"
#include "engine/outputs/Results.h"
#include "engine/run/Download.h"
#include "support/TraceCapture.h"
#include "tarvic/control/Pid.h"
#include "tarvic/platform/IniProfile.h"

using namespace banc;
using banc::test::MakeSettings;

namespace {

class SetupTest : public ::testing::Test {
protected:
    // Configures in the test's store; the elements stay for inspection.
    std::string Run(const Settings& settings)
    {
        m_elements = Elements{};
        return Configure(settings, m_store, m_elements).error;
    }
    std::vector<std::string> Lines(const Settings& settings)
    {
        EXPECT_EQ(Run(settings), "");
        return ConfigurationLines(m_elements, settings);
    }
    float Parameter(Role role, int index)
    {
        float value = -1;
        m_elements.Of(role)->LitFParam(index, value);
        return value;
    }

    tarvic::test::TraceCapture m_quiet;  // the generator reports its tables on the trace
    std::shared_ptr<tarvic::MemoryProfile> m_store = std::make_shared<tarvic::MemoryProfile>();
    Elements m_elements;
};

}  // namespace

TEST_F(SetupTest, WaterLevelPidSendsEachSequenceWithTheFragmentsTheCardAsksFor)
{
    const Settings settings = MakeSettings("niveaueau", "pid", {{"kp", 2}, {"ti", 20}, {"echelon", 50}});
    // Factory settings of the bench (TE 500 ms, Td 6.5 s, alpha 8), then the user's K1, Ti and step.
    EXPECT_EQ(Lines(settings),
              (std::vector<std::string>{"DFS14", "CIDD00", "DFE14", "DFE24", "DFE34",            // the bench's channels
                                        "RTRE103", "RER01F4", "RKP0800010003FFC000", "RKI0019",  // PI, 500 ms
                                        "RKD17E5", "RKF0229", "DCPNFP1", "TB2",                  // pump, level 1
                                        "DSS", "CBF0660", "RED0190", "CRBF0000",                 // step to 50 %
                                        "EMO", "EVE01F4"}));                                     // armed, 500 ms
    EXPECT_EQ(LoopLine(m_elements, settings, true), "RD");
    EXPECT_EQ(LoopLine(m_elements, settings, false), "RS");
    EXPECT_EQ(m_store->GetProfileInt("TYPE", "PO", 0), 'N');
    EXPECT_EQ(m_store->GetProfileInt("TYPE", "REGULATEUR", -1), 1);
    EXPECT_EQ(m_store->GetProfileString("N_MODE1_PID", "KP", ""), "2.000");
}

TEST_F(SetupTest, OpenLoopOnTheAirFlowBenchRoutesTheCommandAndWiresNoFeedback)
{
    Settings settings = MakeSettings("debitair", "bo");
    settings.command = FindCommand(*settings.bench, "chauffage");
    EXPECT_EQ(Lines(settings), (std::vector<std::string>{"DFS14", "CIDD33", "CIDT33", "DFS24", "DFE14", "DFE24",
                                                         "RTRE000", "DCPDOTI",  // no "TB" without a feedback
                                                         "DSS", "CBO0660", "RED0190", "CRBO0000", "EMO", "EVE0032"}));
    // The open-loop block has no start order of its own: the card's serve every kind.
    EXPECT_EQ(LoopLine(m_elements, settings, true), "RD");
    EXPECT_EQ(LoopLine(m_elements, settings, false), "RS");
}

TEST_F(SetupTest, TheOtherControllersAndFeedbacks)
{
    Settings onOff = MakeSettings("debitair", "tor", {{"rbn", -5}, {"rbp", 5}});
    onOff.measure = FindMeasure(*onOff.bench, "temperature");
    const auto tor = Lines(onOff);
    EXPECT_EQ(std::vector<std::string>(tor.begin() + 6, tor.begin() + 12),
              (std::vector<std::string>{"RTRE200", "RER0032", "RBNFF5D", "RBP00A3", "DCPDFDT", "TB2"}));
    m_store = std::make_shared<tarvic::MemoryProfile>();  // each bench has a profile of its own
    Settings z = MakeSettings("niveaueau", "corz", {{"coefc0", 0.5f}, {"coefb0", 1}});
    z.measure = FindMeasure(*z.bench, "niveau2");
    const auto corz = Lines(z);
    EXPECT_EQ(std::vector<std::string>(corz.begin() + 5, corz.begin() + 10),
              (std::vector<std::string>{"RTRE300", "RER01F4", "RZ0400000000000200000000000000", "DCPNFP2", "TB3"}));
    Settings actions = MakeSettings("niveaueau", "pid");
    actions.actions = "PIDM";
    EXPECT_EQ(Lines(actions)[5], "RTRE10F");
}

TEST_F(SetupTest, FactorySettingsComeOnlyIntoAnEmptyProfileOrWhenAskedFor)
{
    Run(MakeSettings("niveaueau", "pid", {{"kp", 3}}));
    Run(MakeSettings("niveaueau", "pid"));
    EXPECT_EQ(Parameter(Role::Controller, 10), 3.0f);  // kept from the run before
    EXPECT_EQ(Parameter(Role::Controller, 11), 8.0f);  // the bench's factory Ti
    Settings factory = MakeSettings("niveaueau", "pid");
    factory.factory = true;
    Run(factory);
    EXPECT_EQ(Parameter(Role::Controller, 10), 1.0f);
}

TEST_F(SetupTest, FactorySettingsBringBackTheBlockCountADurationChanged)
{
    Settings settings = MakeSettings("niveaueau", "pid");
    settings.duration = 16;
    ASSERT_EQ(Run(settings), "");
    ASSERT_EQ(m_elements.recording->LitParam(2), 1);
    Settings factory = MakeSettings("niveaueau", "pid");
    factory.factory = true;
    ASSERT_EQ(Run(factory), "");
    EXPECT_EQ(m_elements.recording->LitParam(2), 20);  // the library's own, as on a first run
    EXPECT_EQ(m_store->GetProfileString("ENREGISTREMENT", "NB_BLOC", ""), "20");
    // With a duration of their own, the factory settings take it.
    factory.duration = 32;
    ASSERT_EQ(Run(factory), "");
    EXPECT_EQ(m_elements.recording->LitParam(2), 2);
}

namespace {

// A value of the parameter's range other than `current`: a round one in the middle, else an end.
float OtherValue(float current, float min, float max)
{
    for (const float value : {std::round((min + max) / 2), min, max})
        if (value >= min && value <= max && value != current) return value;
    return current;
}

}  // namespace

TEST_F(SetupTest, FactorySettingsUndoEverySettingTheConsoleKeptOnEveryBenchAndMode)
{
    for (const Bench& bench : Benches())
        for (const Mode& mode : bench.modes) {
            const std::string where = std::string(bench.name) + " " + mode.name;
            Settings factory;
            factory.bench = &bench;
            factory.mode = &mode;
            factory.factory = true;
            std::vector<const ParameterDef*> applying;
            const auto state = [&] {
                std::vector<float> values;
                for (const ParameterDef* def : applying) values.push_back(Parameter(def->role, def->index));
                int kind = -1;
                m_elements.generator->LitCParam(0, kind);
                values.push_back(static_cast<float>(kind));
                values.push_back(static_cast<float>(m_elements.recording->LitParam(2)));
                return values;
            };
            m_store = std::make_shared<tarvic::MemoryProfile>();
            ASSERT_EQ(Run(factory), "") << where;
            for (const auto* table : {&CommonParameters(), &bench.parameters})
                for (const ParameterDef& def : *table)
                    if (Applies(def, factory, m_elements)) applying.push_back(&def);
            const std::vector<float> first = state();

            // Every one changed: a sine of a slow frequency, a period that keeps the tables short, three blocks.
            Settings changed = factory;
            changed.factory = false;
            changed.signal = CGeneFonction::Sinus;
            changed.duration = 24;
            for (const ParameterDef* def : applying) {
                float min = 0, max = 0;
                ParameterRange(*def, factory, m_elements, min, max);
                const float current = Parameter(def->role, def->index);
                const std::string name = def->name;
                const float value = name == "frequence" ? 0.1f
                                    : name == "te"      ? (current == 200 ? 100.0f : 200.0f)
                                    : name == "tem"     ? 250.0f
                                                        : OtherValue(current, min, max);
                changed.values.emplace_back(def, value);
            }
            ASSERT_EQ(Run(changed), "") << where;
            const std::vector<float> kept = state();
            for (std::size_t i = 0; i < first.size(); ++i)
                EXPECT_NE(kept[i], first[i]) << where << " " << (i < applying.size() ? applying[i]->name : "");

            ASSERT_EQ(Run(factory), "") << where;
            EXPECT_EQ(state(), first) << where;
        }
}

TEST_F(SetupTest, RefusedParametersLeaveTheProfileFileAsItWas)
{
    banc::test::TemporaryFolder folder;
    const std::string path = folder.File("banc.ini");
    m_store.reset();
    const auto store = std::make_shared<tarvic::IniProfile>(path);
    Elements elements;
    ASSERT_EQ(Configure(MakeSettings("niveaueau", "pid", {{"kp", 2}}), store, elements).error, "");
    const std::string before = banc::test::ReadFile(path);
    const SetupResult refused = Configure(MakeSettings("niveaueau", "pid", {{"kp", 5}, {"ti", 1000}}), store, elements);
    EXPECT_EQ(refused.error, "--ti 1000 : hors limites, de 0,0078125 \xE0 500.");
    EXPECT_EQ(banc::test::ReadFile(path), before);
    EXPECT_FALSE(elements.controller);
}

TEST_F(SetupTest, ValuesOutsideTheElementsOrTheFieldsLimitsAreRefused)
{
    struct Case {
        const char* mode;
        const char* name;
        float value;
        const char* error;
    };
    for (const Case& c : {
             Case{"pid", "kp", 64, "--kp 64 : hors limites, de 0,001 \xE0 63,999."},  // 65536 would go as 0
             Case{"pid", "kp", 0, "--kp 0 : hors limites, de 0,001 \xE0 63,999."},
             Case{"pid", "kf", 25, "--kf 25 : hors limites, de 1 \xE0 20."},
             Case{"corz", "coefc0", 32, "--coefc0 32 : hors limites, de -32 \xE0 31,999."},  // would wrap to -32
             Case{"pid", "echelon", 101, "--echelon 101 : hors limites, de 0 \xE0 100."},
             Case{"pid", "te", 5, "--te 5 : hors limites, de 10 \xE0 5000."},
             Case{"pid", "rbn", -5, "Le param\xE8tre --rbn ne s'applique pas au mode pid (r\xE9gulation PID)."},
             Case{"bo", "te", 100, "Le param\xE8tre --te ne s'applique pas au mode bo (boucle ouverte)."},
             Case{"tor", "kp", 2, "Le param\xE8tre --kp ne s'applique pas au mode tor (r\xE9gulation tout ou rien)."},
         })
        EXPECT_EQ(Run(MakeSettings("niveaueau", c.mode, {{c.name, c.value}})), c.error) << c.name;
    EXPECT_EQ(Run(MakeSettings("niveaueau", "pid", {{"kp", 63.999f}})), "");
}

TEST_F(SetupTest, TheSamplingPeriodReachesTheGeneratorBeforeItComputesItsTable)
{
    Settings ramp = MakeSettings("niveaueau", "pid", {{"te", 100}, {"echelon", 50}, {"rampe", 10}});
    ramp.signal = 1;
    const auto lines = Lines(ramp);
    EXPECT_EQ(lines[6], "RER0064");
    // 5 s of ramp at 100 ms a point: 53 points, the last index 52 = 0x34, in two blocks.
    EXPECT_EQ(lines[13], "DSS");
    EXPECT_EQ(lines[14], "DTTT0034");
    EXPECT_EQ(lines[17], "RET0064");
    EXPECT_EQ(lines[18].substr(0, 5), "CRT00");
    EXPECT_EQ(lines[19].substr(0, 5), "CRT01");
    EXPECT_EQ(lines[20], "DST");
    EXPECT_EQ(m_store->GetProfileInt("N_MODE1_GENE", "TYPE", -1), 1);
    EXPECT_EQ(m_store->GetProfileInt("FERZ", "TE", 0), 100);
}

TEST_F(SetupTest, SignalsThatGiveNoPointAreRefused)
{
    Settings falling = MakeSettings("niveaueau", "pid", {{"echelon", 10}, {"repos", 50}});
    falling.signal = 1;
    EXPECT_EQ(Run(falling).substr(0, 42), "Le signal demand\xE9 ne donne aucun point : l");
}

TEST_F(SetupTest, TheDurationIsRoundedUpToWholeBlocks)
{
    Settings settings = MakeSettings("niveaueau", "pid");
    for (const auto& [seconds, blocks] : {std::pair{20.0, 2}, {16.0, 1}, {320.0, 20}, {0.5, 1}}) {
        settings.duration = seconds;
        Run(settings);
        EXPECT_EQ(m_elements.recording->LitParam(2), blocks) << seconds;
    }
    settings = MakeSettings("niveaueau", "pid", {{"tem", 250}});
    settings.duration = 20;
    Run(settings);
    EXPECT_EQ(m_elements.recording->LitParam(2), 3);  // blocks of 8 s
    EXPECT_EQ(ConfigurationLines(m_elements, settings).back(), "EVE00FA");
    settings.duration = 5000;
    EXPECT_EQ(Run(settings), "--duree 5000 : de 8 \xE0 2048 s (1 \xE0 256 blocs de 8 s).");
}

TEST_F(SetupTest, ActionsAreThePidsOnly)
{
    for (const char* wrong : {"PP", "M", "PIX", "PDMI M", ""}) {
        Settings settings = MakeSettings("niveaueau", "pid");
        settings.actions = wrong;
        const std::string start = "--actions " + std::string(wrong) + " : lettres P, I et D";
        EXPECT_EQ(Run(settings).substr(0, start.size()), start) << wrong;
    }
    Settings onOff = MakeSettings("niveaueau", "tor");
    onOff.actions = "P";
    EXPECT_EQ(Run(onOff), "--actions ne s'applique qu'au mode pid, pas au mode tor.");
}

TEST_F(SetupTest, TheOpenLoopWiresTheBenchOfTheProfileInForce)
{
    // The open-loop block reads the bench letter again when it builds its wiring.
    const auto lines = Lines(MakeSettings("niveaueau", "bo"));
    EXPECT_EQ(std::vector<std::string>(lines.begin() + 5, lines.begin() + 7),
              (std::vector<std::string>{"RTRE000", "DCPNOPI"}));
}

TEST_F(SetupTest, MotorisedBenchesTakeTheirLevelsInTheBenchsUnits)
{
    // 1500 tr/min with 100 lines a turn and a window of 5 x 0.9765 ms: 48.8 edges a window, sent as the
    // nearest whole count, 49.
    const auto speed = Lines(MakeSettings("iapv", "vitesse", {{"echelon", 1500}, {"repos", 0}}));
    EXPECT_EQ(speed, (std::vector<std::string>{"ISA00000100", "ICC05D8C20000017C0000", "RRZP",  // load law
                                               "RTRE103", "RER000A", "RKP0400010001400000", "RKI0066", "RKD11AC",
                                               "RKF010D", "DCPIFFV",  // motor, speed
                                               "DSS", "CBF00000031", "RED0064", "CRBF00000000", "EMO", "EVE000A"}));
    // The card's 16-bit speeds: 32767 edges a window.
    EXPECT_EQ(Run(MakeSettings("iapv", "vitesse", {{"echelon", 2e6f}})).substr(0, 42),
              "--echelon 2000000 : hors limites, de -1006");
}

TEST_F(SetupTest, TheAxisAbandonsTheMoveItsSequenceStarts)
{
    const auto lines = Lines(MakeSettings("axnum", "position"));
    EXPECT_EQ(std::vector<std::string>(lines.begin(), lines.begin() + 4),
              (std::vector<std::string>{"DCMMP00", "DCMMV00", "XPCV00000045", "XRCG"}));
    EXPECT_EQ(lines[10], "DCPXFFP");
    const auto columns = ResultColumns(MakeSettings("axnum", "position"), m_elements);
    EXPECT_EQ(columns[0].column, "consigne_deg");
    EXPECT_FLOAT_EQ(columns[1].scale, 360.0f / 500);  // degrees a line
    EXPECT_EQ(columns[2].column, "commande_pct");
    EXPECT_FLOAT_EQ(columns[2].scale, 100.0f / 1024);
}

TEST_F(SetupTest, AChangedSettingSendsTheElementsOwnCommandOrItsWholeSequence)
{
    const Settings pid = MakeSettings("niveaueau", "pid", {{"kp", 2}, {"ti", 20}, {"echelon", 50}});
    ASSERT_EQ(Run(pid), "");
    const Bench& bench = *pid.bench;
    const auto lines = [&](const char* name, float value) {
        const ParameterDef& def = banc::test::FindParameter(bench, name);
        m_elements.Of(def.role)->SetFParam(def.index, value);
        return ParameterLines(m_elements, def);
    };
    using Lines = std::vector<std::string>;
    // The PID's gain and integral time: their own commands, ConfFerz with the same number.
    EXPECT_EQ(lines("kp", 2.5f), Lines{"RKP0A00010003FFC000"});
    EXPECT_EQ(lines("ti", 10), Lines{"RKI0033"});
    // The sampling period has no command of its own: the whole sequence, every coefficient with it.
    EXPECT_EQ(lines("te", 250), (Lines{"RTRE103", "RER00FA", "RKP0A00010003FFC000", "RKI0019", "RKD1B8B", "RKF02F0"}));
    // The pump's independent command; the generator's step computed and sent whole; the recording's period waits.
    EXPECT_EQ(lines("ci-pompe", 40), Lines{"CIDD66"});
    EXPECT_EQ(lines("echelon", 30), (Lines{"DSS", "CBF03D3", "RED0190", "CRBF0000"}));
    EXPECT_EQ(lines("tem", 250), Lines{});
    EXPECT_EQ(ActionLines(m_elements), Lines{"RTRE103"});
    EXPECT_EQ(WiringLines(m_elements, pid), (Lines{"DCPNFP1", "TB2"}));

    // The Z corrector's coefficients have none either: its sequence holds the whole "RZ".
    m_store = std::make_shared<tarvic::MemoryProfile>();
    ASSERT_EQ(Run(MakeSettings("niveaueau", "corz")), "");
    EXPECT_EQ(lines("coefc1", -0.5f), (Lines{"RTRE300", "RER01F4", "RZ0000000000000400FE0000000000"}));
}

TEST_F(SetupTest, TheWiringSwitchesIsolateTheCommandAndCutTheFeedback)
{
    Settings settings = MakeSettings("debitair", "pid");
    settings.routed = false;
    settings.feedback = false;
    ASSERT_EQ(Run(settings), "");
    // Still the flow's selector: the card watches its input as the measurement.
    EXPECT_EQ(WiringLines(m_elements, settings), (std::vector<std::string>{"DCPDFII", "TB1"}));
}

TEST_F(SetupTest, ASignalThatPlaysNothingIsToldOnACopy)
{
    ASSERT_EQ(Run(MakeSettings("niveaueau", "pid")), "");
    const Bench& bench = *FindBench("niveaueau");
    const std::string before = m_store->GetProfileString("N_MODE1_GENE", "C_REPOS", "");
    // A ramp from a rest above its final value.
    EXPECT_EQ(SignalError(m_elements, CGeneFonction::Rampe, {{&banc::test::FindParameter(bench, "repos"), 80.0f}})
                  .substr(0, 49),
              "Le signal demand\xE9 ne donne aucun point : la rampe");
    EXPECT_EQ(SignalError(m_elements, CGeneFonction::Rampe, {{&banc::test::FindParameter(bench, "repos"), 10.0f}}), "");
    // Neither the generator nor the profile took the values tried.
    float rest = -1;
    m_elements.generator->LitFParam(4, rest);
    EXPECT_FLOAT_EQ(rest, 0);
    EXPECT_EQ(m_store->GetProfileString("N_MODE1_GENE", "C_REPOS", ""), before);
    EXPECT_EQ(m_elements.generator->NbPoints, 0);
}

TEST_F(SetupTest, TheRangeOfAParameterIsTheOneConfigureChecks)
{
    const Settings settings = MakeSettings("niveaueau", "pid");
    ASSERT_EQ(Run(settings), "");
    float min = 0, max = 0;
    ParameterRange(banc::test::FindParameter(*settings.bench, "kp"), settings, m_elements, min, max);
    EXPECT_FLOAT_EQ(min, 0.001f);
    EXPECT_FLOAT_EQ(max, 63.999f);  // short of the 16-bit field's wrap
    ParameterRange(banc::test::FindParameter(*settings.bench, "echelon"), settings, m_elements, min, max);
    EXPECT_FLOAT_EQ(max, 100);
    EXPECT_FALSE(Applies(banc::test::FindParameter(*settings.bench, "rbn"), settings, m_elements));
    EXPECT_FALSE(
        Applies(banc::test::FindParameter(*settings.bench, "te"), MakeSettings("niveaueau", "bo"), m_elements));
}

TEST_F(SetupTest, ThePidsActionsStayInTheProfileUntilFactorySettings)
{
    // RTRE1 then the action bits: 3 for P and I, 7 with D.
    EXPECT_EQ(Lines(MakeSettings("niveaueau", "pid"))[5], "RTRE103");
    Settings pid = MakeSettings("niveaueau", "pid");
    pid.actions = "PID";
    EXPECT_EQ(Lines(pid)[5], "RTRE107");
    EXPECT_EQ(m_store->GetProfileString("N_MODE1_PID", "ACTIONS", ""), "PID");
    EXPECT_EQ(Lines(MakeSettings("niveaueau", "pid"))[5], "RTRE107");  // as the run before
    Settings factory = MakeSettings("niveaueau", "bo");
    factory.factory = true;
    Run(factory);
    EXPECT_EQ(Lines(MakeSettings("niveaueau", "pid"))[5], "RTRE103");
    // A profile edited by hand says where its letters come from.
    m_store->WriteProfileString("N_MODE1_PID", "ACTIONS", "PX");
    EXPECT_EQ(Run(MakeSettings("niveaueau", "pid")),
              "Les actions du profil PX : lettres P, I et D, chacune une fois, et M (d\xE9riv\xE9" "e sur la mesure) "
              "avec D.");
}
