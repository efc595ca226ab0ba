#pragma once

#include <cmath>
#include <random>

#include "engine/analysis/ProcessModel.h"
#include "engine/analysis/StepRecord.h"

namespace banc::analysis::test {

// A step response recorded from a known model: `rest` points at the rest
// command, then the step held to the end; Gaussian noise of `noise`
// (standard deviation, the measurement's unit) from a seeded generator.
struct Synthetic {
    ProcessModel model;
    double period = 0.5;
    int rest = 40;
    int points = 640;
    double commandBefore = 20;
    double commandAfter = 70;
    double level = 10;  // the measurement at rest
    double noise = 0;
    unsigned seed = 1;
};

inline StepRecord Record(const Synthetic& s)
{
    std::mt19937 engine(s.seed);
    std::normal_distribution<double> gauss(0.0, 1.0);
    StepRecord record;
    record.period = s.period;
    for (int i = 0; i < s.points; ++i) {
        const bool stepped = i >= s.rest;
        record.command.push_back(stepped ? s.commandAfter : s.commandBefore);
        const double change = s.model.StepResponse((i - s.rest) * s.period, s.commandAfter - s.commandBefore);
        record.measure.push_back(s.level + change + (s.noise > 0 ? s.noise * gauss(engine) : 0));
    }
    return record;
}

}  // namespace banc::analysis::test
