#pragma once

#include <functional>
#include <string>

#include "engine/history/StoredRun.h"
#include "engine/model/Elements.h"
#include "engine/model/Settings.h"

namespace banc::test {

// A water level PID run (kp 2, ti 20, a step to 50 %), its recording of
// `blocks` blocks filled by the test: the measurement (percent) of point i is
// measure(i), the setpoint 50 %, points 500 ms apart.
struct WaterLevelRun {
    WaterLevelRun(int blocks, const std::function<float(int)>& measure);
    Settings settings;
    Elements elements;
};

// The run as the history keeps it: complete, made by "eleve" on "poste" at
// `startedAt`, with `summary` as its settings' line.
history::StoredRun StoredWaterLevelRun(WaterLevelRun& run, const std::string& startedAt, const std::string& summary);

// The raw SQLite base at `path`, as a tool other than the console sees it:
// each statement run, or the test fails.
void ExecuteSql(const std::string& path, const std::string& sql);
// The first column of the first row, as text.
std::string QuerySql(const std::string& path, const std::string& sql);

}  // namespace banc::test
