#pragma once

#include <memory>
#include <string>
#include <vector>

#include <tarvic/platform/Profile.h>

#include "engine/analysis/Identification.h"
#include "engine/analysis/Prediction.h"
#include "engine/analysis/Relay.h"
#include "engine/analysis/Tuning.h"
#include "engine/model/Elements.h"
#include "engine/model/Settings.h"

namespace banc {

// A suggestion in the bench's own controller parameters, as the console's
// --kp, --ti, --td, --kf, --ks and --actions take them: passing them back
// makes the card run the loop that was predicted.
struct ControllerSettings {
    float kp = 0, ti = 0, td = 0, kf = 0, ks = 0;
    std::string actions;  // "P", "PI", "PID"
};

struct TunedSuggestion {
    analysis::Suggestion suggestion;  // in the record's units
    ControllerSettings settings;
    analysis::LoopPrediction prediction;  // of the closed-loop run these settings make
};

// The closed-loop experiment a tuning is for: the bench's PID mode on the
// measurement the open-loop run watched, with the profile's other settings.
struct LoopTarget {
    Settings settings;
    std::string refusal;  // French (Latin-1): why this bench or measurement has no such loop
};
LoopTarget ClosedLoopFor(const Settings& openLoop);

// The open-loop run identified, and the suggestions of every rule for the
// closed loop, each with its prediction.
struct LabResult {
    analysis::StepRecord record;
    analysis::Identification identification;
    std::string tuningRefusal;  // French (Latin-1): why there are no suggestions (reverse action...); empty otherwise
    std::vector<TunedSuggestion> suggestions;
};
// `openLoop` and `elements`: the run recorded (or loaded); `profile`: where
// the closed loop's settings are read, never written.
LabResult IdentifyRun(const Settings& openLoop, const Elements& elements,
                      const std::shared_ptr<tarvic::Profile>& profile, const analysis::TuningOptions& options = {});

// A relay test's run: its oscillation, and the settings from its ultimate gain and period.
struct RelayLabResult {
    analysis::RelayResult relay;
    std::string tuningRefusal;  // French (Latin-1): why there are no suggestions from a relay found; empty otherwise
    std::vector<TunedSuggestion> suggestions;  // without prediction: the relay gives no model
};
RelayLabResult AnalyseRelayRun(const Settings& relayRun, const Elements& elements,
                               const std::shared_ptr<tarvic::Profile>& profile);

// The prediction of the closed loop `loop` as its elements are set now (a
// run about to start), from a model in the record's units.
analysis::LoopPrediction PredictRun(const analysis::ProcessModel& model, const Settings& loop,
                                    const Elements& elements);

}  // namespace banc
