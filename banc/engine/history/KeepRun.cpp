#include "engine/history/KeepRun.h"

#include <pwd.h>
#include <unistd.h>

#include <cstdlib>
#include <ctime>

#include "engine/history/RunHistory.h"
#include "engine/outputs/DescriptionLine.h"
#include "engine/outputs/RecordingArchive.h"
#include "engine/outputs/Results.h"

namespace banc::history {
std::string LoginName()
{
    if (const passwd* entry = ::getpwuid(::getuid()); entry && entry->pw_name && *entry->pw_name) return entry->pw_name;
    const char* user = std::getenv("USER");
    return user && *user ? user : "inconnu";
}

std::string HostName()
{
    char name[256] = {};
    if (::gethostname(name, sizeof name - 1) != 0) return {};
    return name;
}

std::string LocalTimeText()
{
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    ::localtime_r(&now, &local);
    char text[32];
    std::strftime(text, sizeof text, "%Y-%m-%d %H:%M:%S", &local);
    return text;
}

RunOutcome OutcomeOf(const Outcome& outcome)
{
    switch (outcome.status) {
    case Outcome::Status::Finished: return RunOutcome::Complete;
    case Outcome::Status::Interrupted: return RunOutcome::Interrupted;
    default: return RunOutcome::CardFault;
    }
}

std::string SettingsLine(const Elements& elements)
{
    return DescriptionLine(*elements.controller) + " ; " + DescriptionLine(*elements.generator);
}

StoredRun MakeStoredRun(const Settings& settings, Elements& elements, const Outcome& outcome, const RunReport& lab,
                        const RunContext& context)
{
    RunReport report = lab;
    ReportRun(settings, elements, report);
    report.complete = outcome.status == Outcome::Status::Finished;
    StoredRun run;
    run.startedAt = context.startedAt.empty() ? LocalTimeText() : context.startedAt;
    run.user = context.user.empty() ? LoginName() : context.user;
    run.host = HostName();
    run.bench = settings.bench->name;
    run.mode = settings.mode->name;
    run.summary = SettingsLine(elements);
    run.card = context.card;
    run.outcome = OutcomeOf(outcome);
    run.outcomeText = outcome.message;
    if (report.step.final) run.finalValue = *report.step.final;
    if (report.step.overshoot) run.overshootPct = *report.step.overshoot;
    run.measureUnit = report.units.measure;
    run.resultsJson = ResultsJson(report);
    run.archive = ArchiveBytes(settings, elements);
    return run;
}

KeptInHistory KeepRun(const Settings& settings, Elements& elements, const Outcome& outcome, const RunReport& lab,
                      const RunContext& context)
{
    KeptInHistory kept;
    kept.run = MakeStoredRun(settings, elements, outcome, lab, context);
    RunHistory history;
    const std::string path = context.historyPath.empty() ? RunHistory::DefaultPath() : context.historyPath;
    if (std::string error = history.Open(path); !error.empty()) {
        kept.warning = error + " L'essai n'y est pas gard\xE9.";
        return kept;
    }
    kept.warning = history.Insert(kept.run);
    kept.number = kept.run.number;
    return kept;
}

}  // namespace banc::history
