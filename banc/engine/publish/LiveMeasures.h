#pragma once

#include <string>
#include <vector>

#include "engine/model/Elements.h"
#include "engine/model/Settings.h"
#include "engine/run/Experiment.h"
#include "net/Payloads.h"

namespace banc::publish {

// The live values of a run as the room reads them, each named in its unit:
// the setpoint when the loop has one, the loop's measurement, the command,
// then the bench's other quantities.
class LiveMeasures {
public:
    LiveMeasures() = default;
    LiveMeasures(const Settings& settings, Elements& elements);

    // Values that are not numbers are left out: the room never shows one wrong.
    net::Measures Of(const LiveValues& values) const;

private:
    struct Named {
        std::string name;
        std::string unit;
    };
    std::string m_setpointUnit;
    Named m_measure;
    std::vector<std::size_t> m_others;  // indexes into LiveValues::measures
    std::vector<Named> m_otherNames;
};

}  // namespace banc::publish
