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
    // What ends the rest. `running` is sent while the loop still runs at rest.
    // When `stopped` is not empty, the loop is stopped ("RS") for it and then
    // started again ("RD"): the card starts the generator's time, the armed
    // recording, the controller and its noise together, at one sample of its
    // own clock, wherever the lines fell between its samples.
    struct RunStart {
        std::vector<std::string> running, stopped;
    };
    virtual RunStart RunLines() = 0;
    // After each block of the run proper, as it comes: true when the recording
    // holds what the run is for. The run then ends as a finished one, with no
    // block fetched after this one.
    virtual bool Complete() = 0;
    // After a turn whose Complete() was false: the lines that move the run on
    // to its next part (a sweep's next frequency, once Complete() has put a new
    // recording in the elements), sent at once; none by default.
    virtual std::vector<std::string> NextLines();
};

}  // namespace banc
