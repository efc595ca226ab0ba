#include "BenchCard.h"

namespace cardsim {

BenchCard::BenchCard(std::unique_ptr<Bench> bench)
    : m_bench(std::move(bench)), m_loop(*m_bench), m_generator(m_bench->Scale(), m_now), m_recorder(m_now)
{
    m_bench->AddCommands(m_commands);
    m_loop.AddCommands(m_commands);
    m_generator.AddCommands(m_commands);
    m_recorder.AddCommands(m_commands);
    m_commands.Add("RD", Order([this] { Start(); }));
    m_commands.Add("RS", Order([this] { Stop(); }));
    m_bench->Sample();
}

std::string BenchCard::Execute(std::string_view line)
{
    if (line.size() < 2 || (line.front() != '!' && line.front() != '?')) return kError;
    return m_commands.Execute(line.substr(1)).value_or(kError);
}

void BenchCard::Start()
{
    m_bench->RestartNoise();
    m_loop.Start();
    m_generator.SetRunning(true);
    m_recorder.LoopStarted();
}

void BenchCard::Stop()
{
    m_loop.Stop();
    m_generator.SetRunning(false);
    m_recorder.LoopStopped();
}

void BenchCard::Advance(SimDuration elapsed)
{
    m_carried += elapsed;
    while (m_carried >= m_loop.Period()) {
        m_carried -= m_loop.Period();
        Tick();
    }
}

void BenchCard::Tick()
{
    m_bench->Run(m_loop.Period());
    m_now += m_loop.Period();
    m_bench->Sample();
    const LoopSignals& terms = m_loop.Sample(m_generator);
    if (m_loop.Running()) m_recorder.Sample(m_bench->Record(terms));
}

}  // namespace cardsim
