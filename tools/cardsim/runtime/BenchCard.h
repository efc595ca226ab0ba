#pragma once

#include <memory>

#include "Bench.h"
#include "CommandTable.h"
#include "Generator.h"
#include "Loop.h"
#include "Recorder.h"
#include "SimulatedCard.h"

namespace cardsim {

// The card of a control bench: the bench's plant and channels, the control
// loop, the setpoint generator and the recording, on the card's sample clock.
// Every line gets exactly one reply line; either prefix ('!' or '?') is taken.
class BenchCard : public SimulatedCard {
public:
    explicit BenchCard(std::unique_ptr<Bench> bench);

    std::string Execute(std::string_view line) override;
    // Runs every whole sample period that `elapsed` completes; the rest is
    // carried over to the next call.
    void Advance(SimDuration elapsed) override;

    const Bench& GetBench() const { return *m_bench; }
    const Loop& GetLoop() const { return m_loop; }
    const Recorder& GetRecorder() const { return m_recorder; }

private:
    void Start();
    void Stop();
    void Tick();

    std::unique_ptr<Bench> m_bench;
    SimDuration m_now{0};
    SimDuration m_carried{0};
    CommandTable m_commands;
    Loop m_loop;
    Generator m_generator;
    Recorder m_recorder;
};

}  // namespace cardsim
