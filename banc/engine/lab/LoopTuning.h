#pragma once

#include <memory>
#include <optional>
#include <string>

#include "engine/lab/LabWork.h"
#include "engine/model/Elements.h"
#include "engine/model/Settings.h"

namespace tarvic {
class Profile;
}

namespace banc {

// The closed loop's PID seen from the analyses: how its units stand to the
// record's, the coefficients the card runs as the library's lines carry them,
// and the step its generator plays.
analysis::LoopScale LoopScaleOf(const Settings& loop, CEidElement& bench);
analysis::CardPid CardPidOf(CEidElement& controller, const CEidElement& bench);
// The step the generator plays, over the recording's span, in the record's
// units; none for another signal.
std::optional<analysis::LoopStep> LoopStepOf(const Elements& elements, const analysis::LoopScale& scale);

// Suggestions turned into the settings of a closed loop's PID, on that loop's
// elements made from a scratch copy of the profile: the profile is read, never written.
class LoopTuner {
public:
    LoopTuner(const Settings& loop, const std::shared_ptr<tarvic::Profile>& profile);

    // Latin-1: why the loop's elements could not be made; empty when they are.
    const std::string& Error() const { return m_error; }
    // `suggestion` in the record's units; with a model, the loop these settings make predicted.
    TunedSuggestion Tune(const analysis::Suggestion& suggestion, const analysis::ProcessModel* model);

private:
    ControllerSettings SettingsFor(const analysis::IdealPid& pid);
    void Apply(const ControllerSettings& settings);

    const Settings& m_loop;
    std::shared_ptr<tarvic::Profile> m_scratch;
    Elements m_elements;
    std::string m_error;
    analysis::LoopScale m_scale;
    double m_k2 = 1;               // the card's K2, as the profile's K2 makes it
    ControllerSettings m_profile;  // the profile's own, kept where a suggestion has no say
};

// Every suggestion turned into the settings of the closed loop that `run`'s
// bench and measurement make (with the model, each predicted) into `tuned`;
// "" or why there is no such loop (Latin-1).
std::string TuneForLoopOf(const Settings& run, const std::shared_ptr<tarvic::Profile>& profile,
                          const std::vector<analysis::Suggestion>& suggestions, const analysis::ProcessModel* model,
                          std::vector<TunedSuggestion>& tuned);

}  // namespace banc
