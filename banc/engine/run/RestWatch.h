#pragma once

#include <vector>

namespace banc {

// How the measurement held at rest, judged on its last points: steady when the
// trend line through them moves it by no more than its noise over the window.
//
// The window is two blocks of the recording, 64 points: the user sized the
// recording's period for the process's pace, and over 64 points the trend's
// change is known to within sqrt(12 / 64) = 0.43 noise deviations, so that a
// change within one deviation (2.3 of its own errors) is noise, not drift.
struct RestJudgement {
    double seconds = 0;  // watched, in the card's time
    bool steady = false;
    int points = 0;    // in the window (fewer while the first ones come)
    double mean = 0;   // over the window, in the measurement's unit
    double noise = 0;  // the standard deviation about the trend line
    double drift = 0;  // the trend line's change over the window
};

inline constexpr int kRestWindowPoints = 64;

// `measure` every `period` s from the start of the rest.
RestJudgement JudgeRest(const std::vector<float>& measure, double period);
// A rest ends once steady, or once `stabilisation` seconds have gone with a whole window watched.
bool RestOver(const RestJudgement& judgement, double stabilisation);

}  // namespace banc
