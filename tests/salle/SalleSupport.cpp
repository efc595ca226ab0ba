#include "SalleSupport.h"

#include <QApplication>

#include "HistorySupport.h"
#include "engine/outputs/RecordingArchive.h"

namespace salle::test {

QApplication& Application()
{
    if (auto* application = qobject_cast<QApplication*>(QCoreApplication::instance())) return *application;
    static int argc = 1;
    static char name[] = "tarvic-salle";
    static char* argv[] = {name, nullptr};
    return *new QApplication(argc, argv);
}

bool ScriptedRoomPrompts::Confirm(QWidget*, const std::string& title, const std::string& question)
{
    asked.push_back(title + "|" + question);
    if (answers.empty()) return false;
    const bool answer = answers.front();
    answers.pop_front();
    return answer;
}

bool ScriptedRoomPrompts::AskMessage(QWidget*, const std::string& to, std::string& text)
{
    asked.push_back("Message|" + to);
    if (messages.empty()) return false;
    text = messages.front();
    messages.pop_front();
    return true;
}

net::PosteState BenchState(net::PosteActivity activity, const std::string& name)
{
    net::PosteState state;
    state.kind = net::PosteKind::Bench;
    state.name = name;
    state.mode = "pid";
    state.activity = activity;
    state.card = "cardsim 1.0";
    state.program = "tarvic-banc";
    state.version = "1.0.0";
    state.user = "\xC9lodie";
    state.time = "2026-12-08T14:00:00.000Z";
    return state;
}

net::PosteState StationState(const std::string& program)
{
    net::PosteState state;
    state.kind = net::PosteKind::Station;
    state.name = program;
    state.activity = net::PosteActivity::Free;
    state.program = program;
    state.version = "1.0.0";
    state.user = "prof";
    state.time = "2026-12-08T14:00:00.000Z";
    return state;
}

net::Measures LevelMeasures(double level)
{
    net::Measures measures;
    measures.values = {{"Consigne", 20, "cm"}, {"Niveau", level, "cm"}, {"Commande", 42.5, "%"}};
    measures.time = "2026-12-08T14:00:01.000Z";
    return measures;
}

net::RunEnd PublishedRun(const banc::test::WaterLevelRun& recorded)
{
    net::RunEnd run;
    run.number = 12;
    run.startedAt = "2026-12-08T14:02:05.000Z";
    run.time = "2026-12-08T14:04:05.123Z";
    run.user = "\xC9lodie";
    run.bench = "niveaueau";
    run.mode = "pid";
    run.settings = "PID K1= 2.00, Ti= 20.00 s";
    run.outcome = "complet";
    run.finalValue = 49.5;
    run.overshootPct = 10;
    run.measureUnit = "%";
    run.resultsJson = "{}";
    run.archive = banc::ArchiveBytes(recorded.settings, recorded.elements);
    return run;
}

}  // namespace salle::test
