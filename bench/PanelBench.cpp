// What a panel costs while it idles: polling a card once a second, beside an
// empty Qt dialog with a one-second timer measured in the same run; waiting
// for a port that is missing; waiting for a card that stays silent. And how
// soon a reply reaches TraiteRecept after its last byte has been written.
#include <dirent.h>
#include <pthread.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <condition_variable>
#include <cstdlib>
#include <fstream>
#include <map>
#include <optional>
#include <vector>

#include <benchmark/benchmark.h>
#include <QApplication>
#include <QDialog>
#include <QTimer>

#include "common/PanelDlg.h"
#include "support/PtyPeer.h"
#include "support/ScriptedCard.h"
#include "tarvic/platform/MemoryProfile.h"
#include "tarvic/platform/Profile.h"
#include "varnok/VarnokVariant.h"

namespace {

using namespace std::chrono_literals;

QApplication& Application()
{
    static int argc = 1;
    static char name[] = "PanelBench";
    static char* argv[] = {name, nullptr};
    static QApplication* application = [] {
        if (!std::getenv("QT_QPA_PLATFORM")) ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
        return new QApplication(argc, argv);
    }();
    return *application;
}

void UsePort(const std::string& path)
{
    auto profile = std::make_shared<tarvic::MemoryProfile>();
    profile->WriteProfileString("CONFIGURATION", "PORT", path);
    tarvic::SetProfile(profile);
}

struct ThreadUse {
    double cpuMs = 0;
    long wakeUps = 0;  // voluntary context switches: each one a sleep and a wake-up
};
using Uses = std::map<std::string, ThreadUse>;

// Per thread of this process, by role: "ui" (the main thread), "Envoi",
// "Carte" (the bench's card, not the panel's cost) and "lecture" (the rest:
// the reading thread).
Uses ThreadUses()
{
    Uses uses;
    DIR* tasks = ::opendir("/proc/self/task");
    if (!tasks) return uses;
    while (const dirent* entry = ::readdir(tasks)) {
        if (entry->d_name[0] == '.') continue;
        const std::string dir = std::string("/proc/self/task/") + entry->d_name;
        std::string comm;
        std::getline(std::ifstream(dir + "/comm") >> std::ws, comm);
        std::string role = std::atoi(entry->d_name) == ::getpid() ? "ui"
                           : comm == "Envoi" || comm == "Carte"   ? comm
                                                                  : "lecture";
        // Time on the processor in nanoseconds: finer than the clock ticks of "stat".
        double cpuNs = 0;
        std::ifstream(dir + "/schedstat") >> cpuNs;
        std::ifstream status(dir + "/status");
        long voluntary = 0;
        for (std::string line; std::getline(status, line);)
            if (line.rfind("voluntary_ctxt_switches:", 0) == 0) voluntary = std::atol(line.c_str() + 24);
        ThreadUse& use = uses[role];
        use.cpuMs += cpuNs / 1e6;
        use.wakeUps += voluntary;
    }
    ::closedir(tasks);
    return uses;
}

// The event loop for `seconds`; what each role used meanwhile, per minute,
// and the whole cost of the process but the bench's card.
struct Cost {
    Uses perMinute;
    ThreadUse total;
    double minutes = 0;
};

void RunEventLoop(int milliseconds)
{
    QTimer::singleShot(milliseconds, &Application(), &QCoreApplication::quit);
    QApplication::exec();
}

Cost Measure(int seconds)
{
    const Uses before = ThreadUses();
    const auto start = std::chrono::steady_clock::now();
    RunEventLoop(seconds * 1000);
    Cost cost;
    cost.minutes = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count() / 60;
    for (const auto& [role, use] : ThreadUses()) {
        const ThreadUse was = before.count(role) ? before.at(role) : ThreadUse{};
        ThreadUse& rate = cost.perMinute[role];
        rate.cpuMs = (use.cpuMs - was.cpuMs) / cost.minutes;
        rate.wakeUps = static_cast<long>(static_cast<double>(use.wakeUps - was.wakeUps) / cost.minutes);
        if (role == "Carte") continue;
        cost.total.cpuMs += rate.cpuMs;
        cost.total.wakeUps += rate.wakeUps;
    }
    return cost;
}

void Report(benchmark::State& state, const Cost& cost)
{
    for (const auto& [role, use] : cost.perMinute) {
        state.counters["cpu_ms_per_min_" + role] = use.cpuMs;
        state.counters["wakeups_per_min_" + role] = static_cast<double>(use.wakeUps);
    }
    state.counters["cpu_ms_per_min"] = cost.total.cpuMs;
    state.counters["wakeups_per_min"] = static_cast<double>(cost.total.wakeUps);
    // Of one processor, over the run.
    state.counters["cpu_percent"] = cost.total.cpuMs / 600.0;
}

// The yardstick: a dialog that does nothing but restart its one-second timer.
struct EmptyDialog {
    EmptyDialog()
    {
        timer.setSingleShot(true);
        QObject::connect(&timer, &QTimer::timeout, [this] { timer.start(1000); });
    }
    void Start() { timer.start(1000); }
    void Stop() { timer.stop(); }

    QDialog dialog;
    QTimer timer;
};

// A Varnok panel polling an obliging card once a second, past its greeting.
struct PollingPanel {
    PollingPanel() : card(tarvic::test::ScriptedCard::Obliging(" BENCH", "1234 02"))
    {
        UsePort(card.Path());
        panel.StartProcess();
        panel.StartTimer();
        RunEventLoop(3000);  // identification first: the figures are for the steady polling
    }
    tarvic::test::ScriptedCard card;
    CPanelDlg panel{VarnokVariant()};  // stops its process before the card goes
};

// Measured first in the same run.
std::optional<Cost> g_emptyDialog;

void BM_EmptyDialogIdleCost(benchmark::State& state)
{
    Application();
    for (auto _ : state) {
        EmptyDialog dialog;
        dialog.Start();
        g_emptyDialog = Measure(static_cast<int>(state.range(0)));
        Report(state, *g_emptyDialog);
    }
}
BENCHMARK(BM_EmptyDialogIdleCost)->Arg(30)->Iterations(1)->Unit(benchmark::kSecond);

// The polling panel, per minute and against the empty dialog.
void BM_PanelIdleCost(benchmark::State& state)
{
    Application();
    for (auto _ : state) {
        PollingPanel polling;
        CPanelDlg& panel = polling.panel;
        const CJournal::Statistiques before = panel.Process()->Journal()->LitStatistiques();
        const Cost cost = Measure(static_cast<int>(state.range(0)));
        const CJournal::Statistiques after = panel.Process()->Journal()->LitStatistiques();
        Report(state, cost);
        const double linesAndReplies =
            static_cast<double>(after.envoyees - before.envoyees + after.recues - before.recues);
        state.counters["envoi_wakeups_per_line_or_reply"] =
            static_cast<double>(cost.perMinute.at("Envoi").wakeUps) * cost.minutes / linesAndReplies;
        if (g_emptyDialog) {
            state.counters["cpu_vs_empty_dialog"] = cost.total.cpuMs / g_emptyDialog->total.cpuMs;
            state.counters["wakeups_vs_empty_dialog"] =
                static_cast<double>(cost.total.wakeUps) / static_cast<double>(g_emptyDialog->total.wakeUps);
        }
    }
}
BENCHMARK(BM_PanelIdleCost)->Arg(30)->Iterations(1)->Unit(benchmark::kSecond);

// Per-minute rates of two stretches of time, as if measured in one.
void Add(Cost& sum, const Cost& part)
{
    const double minutes = sum.minutes + part.minutes;
    const auto mean = [&](double was, double add) { return (was * sum.minutes + add * part.minutes) / minutes; };
    for (const auto& [role, use] : part.perMinute) {
        ThreadUse& rate = sum.perMinute[role];
        rate.cpuMs = mean(rate.cpuMs, use.cpuMs);
        rate.wakeUps = std::lround(mean(static_cast<double>(rate.wakeUps), static_cast<double>(use.wakeUps)));
    }
    for (auto& [role, rate] : sum.perMinute) {
        if (part.perMinute.count(role)) continue;
        rate.cpuMs = mean(rate.cpuMs, 0);
        rate.wakeUps = std::lround(mean(static_cast<double>(rate.wakeUps), 0));
    }
    sum.total.cpuMs = mean(sum.total.cpuMs, part.total.cpuMs);
    sum.total.wakeUps =
        std::lround(mean(static_cast<double>(sum.total.wakeUps), static_cast<double>(part.total.wakeUps)));
    sum.minutes = minutes;
}

// The panel and the empty dialog by turns, `seconds` each for `rounds`
// rounds, so that whatever else loads the machine weighs on both alike. The
// panel's timer is stopped while the dialog's runs: its threads then sleep.
void BM_PanelIdleAgainstEmptyDialogByTurns(benchmark::State& state)
{
    Application();
    const int rounds = static_cast<int>(state.range(0));
    const int seconds = static_cast<int>(state.range(1));
    for (auto _ : state) {
        PollingPanel polling;
        CPanelDlg& panel = polling.panel;
        EmptyDialog dialog;
        Cost emptyDialog, idlePanel;
        std::vector<double> roundRatios;
        for (int round = 0; round < rounds; ++round) {
            panel.Timer1().stop();
            RunEventLoop(300);  // the last poll's reply comes in
            dialog.Start();
            const Cost dialogTurn = Measure(seconds);
            dialog.Stop();
            panel.StartTimer();
            const Cost panelTurn = Measure(seconds);
            roundRatios.push_back(panelTurn.total.cpuMs / dialogTurn.total.cpuMs);
            Add(emptyDialog, dialogTurn);
            Add(idlePanel, panelTurn);
        }
        Report(state, idlePanel);
        state.counters["empty_dialog_cpu_ms_per_min"] = emptyDialog.total.cpuMs;
        state.counters["empty_dialog_wakeups_per_min"] = static_cast<double>(emptyDialog.total.wakeUps);
        state.counters["cpu_vs_empty_dialog"] = idlePanel.total.cpuMs / emptyDialog.total.cpuMs;
        // On a virtual machine the host's pauses are charged to whichever
        // thread runs: one such round moves the sums above, not the median.
        std::nth_element(roundRatios.begin(), roundRatios.begin() + rounds / 2, roundRatios.end());
        state.counters["cpu_vs_empty_dialog_median_round"] = roundRatios[static_cast<std::size_t>(rounds / 2)];
        state.counters["wakeups_vs_empty_dialog"] =
            static_cast<double>(idlePanel.total.wakeUps) / static_cast<double>(emptyDialog.total.wakeUps);
    }
}
BENCHMARK(BM_PanelIdleAgainstEmptyDialogByTurns)->Args({7, 10})->Iterations(1)->Unit(benchmark::kSecond);

// A panel waiting, with its real time-outs, for a port that is not there
// (reopened every 2 s) or for a card that never answers (each greeting
// written three times, then dropped and started over).
void PanelWaiting(benchmark::State& state, const std::string& port)
{
    Application();
    for (auto _ : state) {
        UsePort(port);
        CPanelDlg panel(VarnokVariant());
        panel.StartProcess();
        panel.StartTimer();
        Report(state, Measure(static_cast<int>(state.range(0))));
        state.counters["timeouts_per_min"] =
            static_cast<double>(panel.Process()->Journal()->LitStatistiques().delais) * 60 / state.range(0);
        panel.StopProcess();
    }
}

void BM_PanelWaitingForAMissingPort(benchmark::State& state) { PanelWaiting(state, "/dev/serial/by-id/absent"); }
BENCHMARK(BM_PanelWaitingForAMissingPort)->Arg(30)->Iterations(1)->Unit(benchmark::kSecond);

void BM_PanelWaitingForASilentCard(benchmark::State& state)
{
    tarvic::test::ScriptedCard card([](const std::string&) { return std::optional<std::string>(); });
    PanelWaiting(state, card.Path());
}
BENCHMARK(BM_PanelWaitingForASilentCard)->Arg(30)->Iterations(1)->Unit(benchmark::kSecond);

// The process's TraiteRecept, timed.
class TimedProcess : public CProcess {
public:
    using CProcess::CProcess;
    void TraiteRecept(std::string line) override
    {
        CProcess::TraiteRecept(std::move(line));
        std::lock_guard lock(m_mutex);
        m_at = std::chrono::steady_clock::now();
        ++m_count;
        m_delivered.notify_one();
    }
    std::chrono::steady_clock::time_point WaitDelivery(int count)
    {
        std::unique_lock lock(m_mutex);
        m_delivered.wait(lock, [&] { return m_count >= count; });
        return m_at;
    }

private:
    std::mutex m_mutex;
    std::condition_variable m_delivered;
    std::chrono::steady_clock::time_point m_at;
    int m_count = 0;
};

// From the write of a reply's last byte on the card's side to TraiteRecept.
void BM_ReplyToTraiteRecept(benchmark::State& state)
{
    tarvic::test::PtyPeer card;
    UsePort(card.SlavePath());
    TimedProcess process(VarnokVariant());
    process.CreateThread();
    process.Demarre();
    process.LitOpenPort()->Wait(3000);
    int delivered = 0;
    for (auto _ : state) {
        // The whole reply goes in one write of a few bytes: its start is its last byte's time.
        const auto lastByte = std::chrono::steady_clock::now();
        card.Send("!LEL1234 02\r\n");
        const auto at = process.WaitDelivery(++delivered);
        state.SetIterationTime(std::chrono::duration<double>(at - lastByte).count());
    }
    process.ExitInstance();
}
BENCHMARK(BM_ReplyToTraiteRecept)->UseManualTime()->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
