// What a panel costs while it idles, polling the card once a second, and how
// soon a reply reaches TraiteRecept after its last byte has been written.
#include <dirent.h>
#include <pthread.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdlib>
#include <fstream>
#include <map>
#include <thread>

#include <QApplication>
#include <QTimer>
#include <benchmark/benchmark.h>

#include "common/PanelDlg.h"
#include "support/PtyPeer.h"
#include "tarvic/platform/MemoryProfile.h"
#include "tarvic/platform/Profile.h"
#include "tarvic/platform/Text.h"
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

// A card that answers every line at once, on a thread of its own.
class AnsweringCard {
public:
    AnsweringCard()
        : m_thread([this] {
              pthread_setname_np(pthread_self(), "Carte");
              std::string pending;
              while (!m_quit) {
                  pending += m_peer.ReceiveUntil("\r\n", 200ms);
                  for (auto end = pending.find("\r\n"); end != std::string::npos; end = pending.find("\r\n")) {
                      const std::string line = tarvic::Mid(pending, 0, static_cast<std::ptrdiff_t>(end));
                      pending.erase(0, end + 2);
                      if (line == "?VER") m_peer.Send("!VER BENCH\r\n");
                      else if (line == "?LEL") m_peer.Send("!LEL1234 02\r\n");
                      else m_peer.Send("!OK\r\n");
                  }
              }
          })
    {
    }
    ~AnsweringCard()
    {
        m_quit = true;
        m_thread.join();
    }
    const std::string& Path() const { return m_peer.SlavePath(); }

private:
    tarvic::test::PtyPeer m_peer;
    std::atomic<bool> m_quit{false};
    std::thread m_thread;
};

struct ThreadUse {
    double cpuMs = 0;
    long wakeUps = 0;  // voluntary context switches: each one a sleep and a wake-up
};

// Per thread of this process, by role: "ui" (the main thread), "Envoi",
// "Carte" (the bench's card, not the panel's cost) and "lecture" (the rest:
// the reading thread).
std::map<std::string, ThreadUse> ThreadUses()
{
    std::map<std::string, ThreadUse> uses;
    DIR* tasks = ::opendir("/proc/self/task");
    if (!tasks) return uses;
    while (const dirent* entry = ::readdir(tasks)) {
        if (entry->d_name[0] == '.') continue;
        const std::string dir = std::string("/proc/self/task/") + entry->d_name;
        std::string comm;
        std::getline(std::ifstream(dir + "/comm") >> std::ws, comm);
        std::string role = std::atoi(entry->d_name) == ::getpid() ? "ui" : comm == "Envoi" || comm == "Carte" ? comm : "lecture";
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

// A Varnok panel polling an answering card once a second for 30 s; figures per minute.
void BM_PanelIdleCost(benchmark::State& state)
{
    Application();
    for (auto _ : state) {
        AnsweringCard card;
        UsePort(card.Path());
        CPanelDlg panel(VarnokVariant());
        panel.StartProcess();
        panel.StartTimer();
        // Identification first: the figures are for the steady polling.
        QTimer::singleShot(3000, &Application(), &QCoreApplication::quit);
        QApplication::exec();
        const auto before = ThreadUses();
        const auto start = std::chrono::steady_clock::now();
        QTimer::singleShot(static_cast<int>(state.range(0)) * 1000, &Application(), &QCoreApplication::quit);
        QApplication::exec();
        const double minutes = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count() / 60;
        const auto after = ThreadUses();
        double panelCpu = 0;
        for (const auto& [role, use] : after) {
            const ThreadUse& was = before.count(role) ? before.at(role) : ThreadUse{};
            state.counters["wakeups_per_min_" + role] = static_cast<double>(use.wakeUps - was.wakeUps) / minutes;
            state.counters["cpu_ms_per_min_" + role] = (use.cpuMs - was.cpuMs) / minutes;
            if (role != "Carte") panelCpu += use.cpuMs - was.cpuMs;
        }
        state.counters["panel_cpu_ms_per_min"] = panelCpu / minutes;
        panel.StopProcess();
    }
}
BENCHMARK(BM_PanelIdleCost)->Arg(30)->Iterations(1)->Unit(benchmark::kSecond);

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
