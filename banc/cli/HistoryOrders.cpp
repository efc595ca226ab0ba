#include "cli/HistoryOrders.h"

#include <sys/stat.h>

#include <tarvic/platform/Text.h>

#include "cli/Console.h"
#include "cli/ExitStatus.h"
#include "cli/HistoryOptions.h"
#include "cli/Outputs.h"
#include "cli/ReportOrder.h"
#include "engine/history/RunHistory.h"
#include "engine/outputs/Comparison.h"
#include "engine/outputs/LabText.h"

namespace banc::cli {
namespace {

using history::RunHistory;
using history::StoredRun;

std::string Figure(const std::optional<double>& value, const char* format, const std::string& unit)
{
    return value ? tarvic::Format(format, *value, unit.c_str()) : "-";
}

bool Exists(const std::string& path)
{
    struct stat file{};
    return ::stat(path.c_str(), &file) == 0;
}

// The base the orders read: never made by an order that only reads or changes runs.
int OpenBase(const Request& request, RunHistory& history, bool& missing)
{
    const std::string path = request.history.empty() ? RunHistory::DefaultPath() : request.history;
    missing = !Exists(path);
    if (missing) return kExitDone;
    if (std::string error = history.Open(path); !error.empty()) {
        Complain(error);
        return kExitUnavailable;
    }
    return kExitDone;
}

std::string NoBase(const Request& request)
{
    return tarvic::Format("la base %s n'existe pas encore (aucun essai gard\xE9)",
                          (request.history.empty() ? RunHistory::DefaultPath() : request.history).c_str());
}

int List(const Request& request, RunHistory& history)
{
    history::RunFilter filter;
    filter.bench = request.bench;
    filter.since = request.since;
    std::vector<StoredRun> runs;
    if (std::string error = history.List(filter, runs); !error.empty()) {
        Complain(error);
        return kExitUnavailable;
    }
    if (runs.empty()) {
        Write(stdout, "Aucun essai.\n");
        return kExitDone;
    }
    // The settings, of any length, and the comment end the line.
    std::vector<std::vector<std::string>> lines = {
        {"N\xB0", "Date", "Banc", "Mode", "Issue", "Valeur finale", "D\xE9passement", "R\xE9glages ; commentaire"}};
    for (const StoredRun& run : runs)
        lines.push_back({std::to_string(run.number), run.startedAt, run.bench, run.mode,
                         history::OutcomeWord(run.outcome), Figure(run.finalValue, "%.2f %s", run.measureUnit),
                         Figure(run.overshootPct, "%.1f %%%s", ""),
                         run.summary + (run.comment.empty() ? "" : " ; \xAB " + run.comment + " \xBB")});
    std::vector<std::size_t> widths(lines.front().size(), 0);
    for (const auto& line : lines)
        for (std::size_t i = 0; i < line.size(); ++i) widths[i] = std::max(widths[i], line[i].size());
    std::string text;
    for (const auto& line : lines) {
        for (std::size_t i = 0; i + 1 < line.size(); ++i)
            text += line[i] + std::string(widths[i] - line[i].size() + 2, ' ');
        text += line.back() + "\n";
    }
    Write(stdout, text);
    return kExitDone;
}

// "Essai 12 du 2026-12-08 15:04:05, par alice sur salle-b3, carte CARDSIM 1.0 : complet."
std::string RunHeading(const StoredRun& run)
{
    std::string text = tarvic::Format("Essai %lld du %s, par %s", run.number, run.startedAt.c_str(), run.user.c_str());
    if (!run.host.empty()) text += " sur " + run.host;
    if (!run.card.empty()) text += ", carte " + run.card;
    text += std::string(" : ") + history::OutcomeWord(run.outcome);
    if (!run.outcomeText.empty()) text += " (" + run.outcomeText + ")";
    text += ".\n";
    if (!run.comment.empty()) text += "Commentaire : " + run.comment + "\n";
    return text;
}

int Show(const Request& request, RunHistory& history)
{
    if (const int status = OutputsStatus(request, ""); status != kExitDone) return status;
    StoredRun run;
    ComparedRun loaded;
    std::string error = history.Read(request.runs.front(), run);
    if (error.empty()) error = LoadComparedRun(run, loaded);
    if (!error.empty()) {
        Complain(error);
        return kExitUnavailable;
    }
    Write(stdout, RunHeading(loaded.stored));
    LabOutputs kept;
    kept.keptJson = run.resultsJson;
    const bool written = WriteOutputs(request, loaded.loaded.settings, loaded.loaded.elements, std::nullopt, kept);
    return WriteRequestedReport(request, loaded) && written ? kExitDone : kExitUnavailable;
}

int Compare(const Request& request, RunHistory& history)
{
    if (const int status = OutputsStatus(request, ""); status != kExitDone) return status;
    std::vector<ComparedRun> runs(request.runs.size());
    for (std::size_t i = 0; i < runs.size(); ++i) {
        StoredRun run;
        std::string error = history.Read(request.runs[i], run);
        if (error.empty()) error = LoadComparedRun(run, runs[i]);
        if (!error.empty()) {
            Complain(error);
            return kExitUnavailable;
        }
    }
    if (std::string refusal = ComparisonRefusal(runs); !refusal.empty()) {
        Complain(refusal);
        return kExitUnavailable;
    }
    std::string legend;
    for (const ComparedRun& run : runs)
        legend += tarvic::Format("Essai %lld : %s\n", run.stored.number, run.stored.summary.c_str());
    Write(stdout, legend + "\n" + RenderTable(ComparisonFigures(runs)));
    if (!WriteRequestedReport(request, runs)) return kExitUnavailable;
    if (request.png.empty()) return kExitDone;
    RequireGuiApplication();
    if (std::string error = SaveComparison(request.png, runs); !error.empty()) {
        Complain(error);
        return kExitUnavailable;
    }
    Tell("Fichiers \xE9" "crits : " + request.png);
    return kExitDone;
}

int Comment(const Request& request, RunHistory& history)
{
    const long long number = request.runs.front();
    if (std::string error = history.SetComment(number, request.comment); !error.empty()) {
        Complain(error);
        return kExitUnavailable;
    }
    Write(stdout, tarvic::Format("Commentaire de l'essai %lld enregistr\xE9.\n", number));
    return kExitDone;
}

int Remove(const Request& request, RunHistory& history)
{
    StoredRun removed;
    if (std::string error = history.Remove(request.runs.front(), removed); !error.empty()) {
        Complain(error);
        return kExitUnavailable;
    }
    Write(stdout, tarvic::Format("Essai %lld supprim\xE9 : %s, %s %s, %s.\n", removed.number, removed.startedAt.c_str(),
                                 removed.bench.c_str(), removed.mode.c_str(), removed.summary.c_str()));
    return kExitDone;
}

}  // namespace

int HistoryOrder(const Request& request)
{
    if (std::string refusal = HistoryRefusal(request); !refusal.empty()) {
        Complain(refusal);
        return kExitUsage;
    }
    RunHistory history;
    bool missing = false;
    if (const int status = OpenBase(request, history, missing); status != kExitDone) return status;
    if (missing) {
        if (request.action == Request::Action::List) {
            Write(stdout, "Aucun essai.\n");
            return kExitDone;
        }
        Complain(tarvic::Format("L'essai %lld n'existe pas : %s.", request.runs.front(), NoBase(request).c_str()));
        return kExitUnavailable;
    }
    switch (request.action) {
    case Request::Action::List: return List(request, history);
    case Request::Action::ShowRun: return Show(request, history);
    case Request::Action::Compare: return Compare(request, history);
    case Request::Action::Comment: return Comment(request, history);
    case Request::Action::Remove: return Remove(request, history);
    default: return kExitUsage;
    }
}

}  // namespace banc::cli
