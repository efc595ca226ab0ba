#pragma once

#include <string>
#include <vector>

namespace banc {

// A run that first holds the card's loop at rest, its measurement recorded
// apart and watched, then starts what it is for (a step to identify, a relay
// to oscillate) with the recording started again, and that may end once the
// recording holds what it is for. The experiment calls it holding the elements.
class RunPlan {
public:
    virtual ~RunPlan();
    // The configuration lines of the loop at rest.
    virtual std::vector<std::string> RestConfiguration() = 0;
    // The measurement at rest so far, a point every `period` s from the loop's
    // start: true when the rest has lasted long enough.
    virtual bool RestEnough(const std::vector<float>& measure, double period) = 0;
    // What ends the rest: the run proper, with the recording started again at once.
    virtual std::vector<std::string> RunLines() = 0;
    // After each turn of the run proper: true when the recording holds what
    // the run is for. The run then ends as a finished one.
    virtual bool Complete() = 0;
    // After a turn whose Complete() was false: the lines that move the run on
    // to its next part (a sweep's next frequency), sent at once; none by default.
    virtual std::vector<std::string> NextLines();
};

}  // namespace banc
