// The run history on the disk: keeping a run of 20 blocks at the end of a run
// (the base opened, the run built and inserted in its own transaction, synced),
// and listing a base of 10,000 such runs, newest first, with the base's size per run.
#include <benchmark/benchmark.h>
#include <sqlite3.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <memory>

#include "TwentyBlockRun.h"
#include "engine/history/KeepRun.h"
#include "engine/history/RunHistory.h"
#include "tarvic/platform/Trace.h"

namespace {

constexpr int kListed = 10000;

// A folder of its own on the disk the user's data would be on.
struct Folder {
    Folder()
    {
        char pattern[] = "/var/tmp/tarvic-history-bench-XXXXXX";
        path = ::mkdtemp(pattern);
    }
    ~Folder() { std::filesystem::remove_all(path); }
    std::string path;
};

double FileBytes(const std::string& path)
{
    std::error_code error;
    const auto size = std::filesystem::file_size(path, error);
    return error ? 0.0 : static_cast<double>(size);
}

void BM_KeepTwentyBlockRun(benchmark::State& state)
{
    tarvic::SetTraceSink([](std::string_view) {});
    TwentyBlockRun run;
    Folder folder;
    const std::string base = folder.path + "/essais.sqlite";
    int kept = 0;
    for (auto _ : state) {
        const banc::history::KeptInHistory result = banc::history::KeepRun(
            run.settings, run.elements, banc::Outcome{}, banc::RunReport{}, {base, "banc", "", "2026-12-08 15:04:05"});
        if (!result.warning.empty()) state.SkipWithError(result.warning.c_str());
        ++kept;
    }
    state.counters["octets_par_essai"] = (FileBytes(base) + FileBytes(base + "-wal")) / kept;
}
BENCHMARK(BM_KeepTwentyBlockRun)->Unit(benchmark::kMillisecond)->Iterations(50);

// 10,000 copies of one kept run, over 28 days, made at once in one transaction.
void FillBase(const std::string& base, TwentyBlockRun& run)
{
    banc::history::KeepRun(run.settings, run.elements, banc::Outcome{}, banc::RunReport{},
                           {base, "banc", "", "2026-12-01 08:00:00"});
    sqlite3* db = nullptr;
    sqlite3_open(base.c_str(), &db);
    const std::string sql =
        "BEGIN;"
        "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < " +
        std::to_string(kListed - 1) +
        ")"
        " INSERT INTO essais (date, utilisateur, poste, banc, mode, reglages, carte, issue, message_issue, valeur_finale,"
        " depassement_pct, unite_mesure, resultats_json, commentaire)"
        " SELECT printf('2026-12-%02d %02d:%02d:00', 1 + i % 28, 8 + i % 10, i % 60), utilisateur, poste,"
        " CASE i % 5 WHEN 0 THEN 'debitair' ELSE banc END, mode, reglages, carte, issue, message_issue, valeur_finale,"
        " depassement_pct, unite_mesure, resultats_json, commentaire FROM n, essais WHERE numero = 1;"
        "INSERT INTO archives (essai, octets) SELECT numero, (SELECT octets FROM archives WHERE essai = 1) FROM essais"
        " WHERE numero > 1;"
        "COMMIT; PRAGMA wal_checkpoint(TRUNCATE);";
    sqlite3_exec(db, sql.c_str(), nullptr, nullptr, nullptr);
    sqlite3_close(db);
}

void ListTenThousand(benchmark::State& state, const banc::history::RunFilter& filter)
{
    tarvic::SetTraceSink([](std::string_view) {});
    TwentyBlockRun run;
    Folder folder;
    const std::string base = folder.path + "/essais.sqlite";
    FillBase(base, run);
    banc::history::RunHistory history;
    if (const std::string error = history.Open(base); !error.empty()) state.SkipWithError(error.c_str());
    std::size_t listed = 0;
    for (auto _ : state) {
        std::vector<banc::history::StoredRun> runs;
        history.List(filter, runs);
        listed = runs.size();
    }
    state.counters["essais_listes"] = static_cast<double>(listed);
    state.counters["octets_par_essai"] = FileBytes(base) / kListed;
}

void BM_ListTenThousandRuns(benchmark::State& state) { ListTenThousand(state, {}); }
BENCHMARK(BM_ListTenThousandRuns)->Unit(benchmark::kMillisecond);

// What --liste --banc debitair --depuis 2026-12-20 reads: a fifth of the runs, the last days.
void BM_ListTenThousandRunsFiltered(benchmark::State& state) { ListTenThousand(state, {"debitair", "2026-12-20", {}}); }
BENCHMARK(BM_ListTenThousandRunsFiltered)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
