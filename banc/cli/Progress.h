#pragma once

#include <cstdio>
#include <optional>
#include <string>

#include "engine/run/Experiment.h"

namespace banc::cli {

// The run's progress on standard error: blocks acquired of the total, the
// time left and the live values (the command in percent, the setpoint and the
// measurement in `unit`). On a terminal one line is kept up to date;
// elsewhere (a log, a pipe) one line is written per block.
class Progress : public ExperimentObserver {
public:
    // `secondsPerBlock`: the wall-clock time of one block.
    Progress(std::FILE* stream, int blocks, double secondsPerBlock, std::string unit);
    ~Progress() override;

    void Started(int configurationLines) override;
    void Live(const LiveValues& values) override;
    void BlockAcquired(int acquired, int total) override;
    // Before an identification's step or a relay test: the measurement watched at rest.
    void Resting(double seconds) override;

private:
    std::string Line() const;

    std::FILE* m_stream;
    bool m_terminal;
    double m_secondsPerBlock;
    std::string m_unit;
    LiveValues m_live;
    bool m_hasLive = false;
    int m_acquired = 0;
    int m_total = 0;
    std::optional<double> m_resting;  // s watched at rest, until the first block of the run proper
    bool m_lineOpen = false;          // a terminal line waits for its end
};

}  // namespace banc::cli
