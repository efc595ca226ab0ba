// Costs of the recording: decoding one block reply, and reading points back
// for a redraw.
#include <benchmark/benchmark.h>

#include <memory>
#include <string>

#include "tarvic/platform/MemoryProfile.h"
#include "tarvic/platform/Text.h"
#include "tarvic/recording/Enregistrement.h"

namespace {

// One block line on the wire: 2056 characters and CR LF, 11 bits each at 57600 baud.
constexpr double kSecondesLiaisonParBloc = 2058.0 * 11.0 / 57600.0;
constexpr int kBlocs = 20;

std::string LigneBloc(int bloc)
{
    std::string ligne = tarvic::Format("!TSF%2.2X", static_cast<unsigned>(bloc));
    for (int i = 0; i < CBlocPoint::kPoints * CBlocPoint::kRangs; ++i)
        ligne += tarvic::Format("%4.4X", static_cast<unsigned>((i * 2654435761u) & 0xFFFF));
    return ligne + "  ";
}

void InstalleProfil(char process)
{
    auto profil = std::make_shared<tarvic::MemoryProfile>();
    profil->WriteProfileInt("TYPE", "PO", process);
    profil->WriteProfileInt("ENREGISTREMENT", "NB_BLOC", kBlocs);
    tarvic::SetProfile(profil);
}

// TraitRecept on block replies: one pass of 20 blocks per iteration.
void BM_TraitReceptBloc(benchmark::State& state)
{
    InstalleProfil('X');
    std::vector<std::string> lignes;
    for (int bloc = 0; bloc < kBlocs; ++bloc) lignes.push_back(LigneBloc(bloc));
    CEnregistrement enregistrement;
    for (auto _ : state) {
        state.PauseTiming();
        enregistrement.SetStart(true);
        state.ResumeTiming();
        for (const std::string& ligne : lignes) benchmark::DoNotOptimize(enregistrement.TraitRecept(ligne));
    }
    if (enregistrement.LitParam(5) != kBlocs) state.SkipWithError("blocks were not accepted");
    state.SetItemsProcessed(state.iterations() * kBlocs);
    // Seconds the link needs per second of decoding.
    state.counters["link_per_decode"] = benchmark::Counter(
        static_cast<double>(state.iterations()) * kBlocs * kSecondesLiaisonParBloc, benchmark::Counter::kIsRate);
    tarvic::SetProfile(nullptr);
}
BENCHMARK(BM_TraitReceptBloc);

// A redraw: 640 points of each of 16 curves from a 20-block recording.
void BM_LitPointRedraw(benchmark::State& state)
{
    InstalleProfil('X');
    CEnregistrement enregistrement;
    enregistrement.SetStart(true);
    for (int bloc = 0; bloc < kBlocs; ++bloc) enregistrement.TraitRecept(LigneBloc(bloc));
    enregistrement.CalculGain(1, 1, 1, 1000.0f, 1.0f);
    const int courbes[] = {'2', '3', '4', '5', '6', '7', '8', '9', ':', ';', '>', 'G', 'H', 'J', 'K', 'L'};
    const int points = kBlocs * CBlocPoint::kPoints;
    for (auto _ : state) {
        for (const int code : courbes)
            for (int index = 0; index < points; ++index) benchmark::DoNotOptimize(enregistrement.LitPoint(code, index));
    }
    state.SetItemsProcessed(state.iterations() * points * static_cast<std::int64_t>(std::size(courbes)));
    tarvic::SetProfile(nullptr);
}
BENCHMARK(BM_LitPointRedraw)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
