#include <gtest/gtest.h>

#include <sys/stat.h>

#include <nlohmann/json.hpp>

#include <QString>

#include "BancTestSupport.h"
#include "engine/outputs/ResultsJson.h"

namespace {

using banc::analysis::ControllerType;
using banc::analysis::ModelKind;
using banc::analysis::Rule;
using Json = nlohmann::json;

// An open-loop step of the air flow bench's temperature, identified and tuned.
struct AirTemperatureRun {
    AirTemperatureRun()
    {
        settings = banc::test::MakeSettings("debitair", "bo");
        settings.measure = banc::FindMeasure(*settings.bench, "temperature");
        report.settings = &settings;
        report.blocks = 20;
        report.plannedBlocks = 20;
        report.period = 0.5;
        report.units = {"%", "%"};
        report.step.verdict = banc::StepVerdict::Settled;
        report.step.reference = banc::OvershootOf::FinalChange;
        report.step.samplePeriod = 0.5f;
        report.step.initial = 0;
        report.step.setpoint = 60;
        report.step.last = 24.1f;
        report.step.final = 24.0f;
        report.step.overshoot = 0.0f;
        report.step.riseTime = 44.5f;
        report.step.settlingTime = 61.5f;
        report.step.timeConstant = 21.5f;

        banc::analysis::Identification& identification = lab.identification;
        banc::analysis::FitResult fit;
        fit.model = {ModelKind::FirstOrderDelay, 0.4, 20.1, 1.5, 1};
        fit.rms = 0.05;
        fit.explained = 0.9991;
        fit.iterations = 12;
        fit.converged = true;
        identification.fit = fit;
        banc::analysis::MethodResult broida{"broida",
                                            "Bro\xEF" "da (28 % et 40 %)",
                                            {ModelKind::FirstOrderDelay, 0.4, 19.5, 1.75, 1},
                                            {{14.25, 6.72}, {21.75, 9.6}},
                                            std::nullopt};
        banc::analysis::MethodResult strejc{
            "strejc",
            "Strejc",
            {ModelKind::Strejc, 0.4, 9.5, 0.5, 2},
            {{10, 5}},
            std::pair{banc::analysis::CurvePoint{4, 0}, banc::analysis::CurvePoint{30, 24}}};
        identification.methods = {broida, strejc};
        banc::TunedSuggestion simc;
        simc.suggestion = {Rule::Simc, {ControllerType::PI, 4.1875, 20.1, 0}};
        simc.settings = {4.1875f, 20.1f, 0, 1, 1, "PI"};
        simc.prediction.period = 0.5;
        simc.prediction.measure = {0, 1};
        simc.prediction.figures.verdict = banc::StepVerdict::Settled;
        simc.prediction.figures.final = 50.0f;
        simc.prediction.figures.overshoot = 1.5f;
        simc.prediction.figures.riseTime = 4.5f;
        simc.prediction.figures.settlingTime = 12.0f;
        banc::TunedSuggestion zn;
        zn.suggestion = {Rule::ZieglerNichols, {ControllerType::PID, 16.08, 3, 0.75}};
        zn.settings = {16.08f, 3.0f, 0.75f, 0.1f, 1, "PID"};
        zn.prediction.period = 0.5;
        zn.prediction.measure = {0, 1};
        zn.prediction.figures.verdict = banc::StepVerdict::Oscillating;
        lab.suggestions = {simc, zn};
        report.identification = &lab;
    }

    Json Parsed() const { return Json::parse(banc::ResultsJson(report)); }

    banc::Settings settings;
    banc::LabResult lab;
    banc::RunReport report;
};

}  // namespace

TEST(ResultsJson, TheRunAndItsStepFiguresInSecondsWithNullForWhatIsNotEstablished)
{
    AirTemperatureRun run;
    run.report.step.settlingTime.reset();
    const Json json = run.Parsed();
    EXPECT_EQ(json["banc"], "debitair");
    EXPECT_EQ(json["mode"], "bo");
    EXPECT_EQ(json["mesure"], "temperature");
    EXPECT_EQ(json["unite_mesure"], "%");
    EXPECT_EQ(json["periode_s"], 0.5);
    EXPECT_EQ(json["blocs_acquis"], 20);
    EXPECT_EQ(json["complet"], true);
    const Json& step = json["resume"];
    EXPECT_EQ(step["verdict"], "etablie");
    EXPECT_EQ(step["valeur_finale"], 24.0);
    EXPECT_EQ(step["derniere_mesure"], 24.1);  // the float's digits, not 24.100000381
    EXPECT_EQ(step["temps_montee_s"], 44.5);
    EXPECT_TRUE(step["temps_etablissement_s"].is_null());
    EXPECT_TRUE(step["oscillation"].is_null());
}

TEST(ResultsJson, TheFittedModelTheMethodsWithTheirPointsAndEverySuggestion)
{
    AirTemperatureRun run;
    const Json json = run.Parsed();
    const Json model = Json::parse(R"j({"type": "premier_ordre_retard", "gain": 0.4, "unite_gain": "%/%",
        "constante_temps_s": 20.1, "retard_s": 1.5, "ordre": 1, "residu": 0.05, "part_expliquee": 0.9991,
        "iterations": 12})j");
    EXPECT_EQ(json["modele"], model);
    ASSERT_EQ(json["methodes"].size(), 2u);
    const Json broida = Json::parse(R"j({"methode": "broida", "libelle": "Bro\u00efda (28 % et 40 %)",
        "type": "premier_ordre_retard", "gain": 0.4, "unite_gain": "%/%", "constante_temps_s": 19.5,
        "retard_s": 1.75, "ordre": 1, "residu": null,
        "points": [{"t_s": 14.25, "valeur": 6.72}, {"t_s": 21.75, "valeur": 9.6}], "tangente": null})j");
    EXPECT_EQ(json["methodes"][0], broida);
    EXPECT_EQ(json["methodes"][1]["type"], "strejc");
    EXPECT_EQ(json["methodes"][1]["ordre"], 2);
    const Json tangent =
        Json::parse(R"j({"debut": {"t_s": 4.0, "valeur": 0.0}, "fin": {"t_s": 30.0, "valeur": 24.0}})j");
    EXPECT_EQ(json["methodes"][1]["tangente"], tangent);
    ASSERT_EQ(json["reglages"].size(), 2u);
    Json simc = Json::parse(R"j({"regle": "simc", "libelle": "",
        "correcteur": "PI", "kp": 4.188, "ti": 20.1, "td": null, "kf": null, "ks": 1.0, "actions": "PI",
        "forme_ideale": {"kc": 4.1875, "ti_s": 20.1, "td_s": null},
        "prediction": {"depassement_pct": 1.5, "temps_montee_s": 4.5, "temps_etablissement_s": 12.0,
                       "valeur_finale": 50.0, "verdict": "etablie"}})j");
    simc["libelle"] = QString::fromLatin1(banc::analysis::RuleLabel(Rule::Simc)).toStdString();
    EXPECT_EQ(json["reglages"][0], simc) << json["reglages"][0].dump(2);
    const Json& zn = json["reglages"][1];
    EXPECT_EQ(zn["regle"], "zn");
    EXPECT_EQ(zn["td"], 0.75);
    EXPECT_EQ(zn["kf"], 0.1);
    EXPECT_TRUE(zn["prediction"]["depassement_pct"].is_null());
    EXPECT_EQ(zn["prediction"]["verdict"], "oscille");
}

TEST(ResultsJson, ARefusedIdentificationSaysWhyInUtf8)
{
    AirTemperatureRun run;
    run.lab.identification.refusal = "La mesure ne bouge pas au-del\xE0 du bruit.";
    const Json json = run.Parsed();
    EXPECT_TRUE(json["modele"].is_null());
    EXPECT_EQ(json["refus"], "La mesure ne bouge pas au-del\xC3\xA0 du bruit.");
    EXPECT_FALSE(json.contains("reglages"));
}

TEST(ResultsJson, ARelayTestGivesTheUltimateGainAndPeriodAndSettingsWithoutPrediction)
{
    AirTemperatureRun run;
    run.report.identification = nullptr;
    banc::RelayLabResult relay;
    relay.relay.amplitude = 1.25;
    relay.relay.relayAmplitude = 50;
    relay.relay.ultimateGain = 50.93;
    relay.relay.ultimatePeriod = 9.5;
    relay.relay.periods = 4;
    banc::TunedSuggestion tl;
    tl.suggestion = {Rule::TyreusLuyben, {ControllerType::PI, 15.9, 20.9, 0}};
    tl.settings = {15.9f, 20.9f, 0, 1, 1, "PI"};
    relay.suggestions = {tl};
    run.report.relay = &relay;
    const Json json = run.Parsed();
    EXPECT_EQ(json["ku"], 50.93);
    EXPECT_EQ(json["pu_s"], 9.5);
    EXPECT_EQ(json["relais"]["periodes"], 4);
    EXPECT_EQ(json["reglages"][0]["regle"], "tl");
    EXPECT_TRUE(json["reglages"][0]["prediction"].is_null());
    EXPECT_FALSE(json.contains("modele"));
}

TEST(ResultsJson, AClosedLoopRunBesideItsPrediction)
{
    AirTemperatureRun run;
    run.settings = banc::test::MakeSettings("debitair", "pid");
    run.settings.measure = banc::FindMeasure(*run.settings.bench, "temperature");
    run.report.identification = nullptr;
    run.report.model = banc::analysis::ProcessModel{ModelKind::FirstOrderDelay, 0.4, 20.1, 1.5, 1};
    run.report.applied = &run.lab.suggestions[0];
    banc::PredictionComparison comparison;
    comparison.measured = run.report.step;
    comparison.predicted = run.lab.suggestions[0].prediction.figures;
    comparison.iae = 12.5;
    comparison.span = 159.5;
    run.report.comparison = &comparison;
    run.report.prediction = &run.lab.suggestions[0].prediction;
    const Json json = run.Parsed();
    EXPECT_EQ(json["mode"], "pid");
    EXPECT_EQ(json["modele"]["constante_temps_s"], 20.1);
    EXPECT_TRUE(json["modele"]["residu"].is_null());
    EXPECT_EQ(json["reglage_applique"]["regle"], "simc");
    EXPECT_EQ(json["prediction"]["depassement_pct"], 1.5);
    EXPECT_EQ(json["comparaison"]["iae"], 12.5);
    EXPECT_EQ(json["comparaison"]["unite_iae"], "%\xC2\xB7s");
    EXPECT_EQ(json["comparaison"]["mesure"]["temps_montee_s"], 44.5);
    EXPECT_EQ(json["comparaison"]["prediction"]["temps_montee_s"], 4.5);
}

TEST(ResultsJson, AnEndedRunSaysWhyNothingWasIdentified)
{
    AirTemperatureRun run;
    run.report.identification = nullptr;
    run.report.complete = false;
    run.report.blocks = 3;
    run.report.labRefusal = "Essai interrompu : rien n'est identifi\xE9.";
    const Json json = run.Parsed();
    EXPECT_EQ(json["complet"], false);
    EXPECT_EQ(json["blocs_acquis"], 3);
    EXPECT_EQ(json["refus"], "Essai interrompu : rien n'est identifi\xC3\xA9.");
    EXPECT_FALSE(json.contains("modele"));
}

TEST(ResultsJson, WrittenWholeOrNotAtAll)
{
    AirTemperatureRun run;
    banc::test::TemporaryFolder folder;
    const std::string path = folder.File("r.json");
    EXPECT_EQ(banc::WriteResultsJson(path, run.report), "");
    EXPECT_EQ(banc::test::ReadFile(path), banc::ResultsJson(run.report));
    EXPECT_EQ(banc::WriteResultsJson(folder.File("absent/r.json"), run.report),
              "Impossible d'\xE9" "crire " + folder.File("absent/r.json") + " : dossier introuvable.");
    EXPECT_EQ(banc::test::FolderEntries(folder.Path()), std::vector<std::string>{"r.json"});
}
