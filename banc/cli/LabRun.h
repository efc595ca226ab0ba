#pragma once

#include <memory>
#include <optional>
#include <string>

#include <tarvic/platform/Profile.h>

#include "cli/CommandLine.h"
#include "cli/Outputs.h"
#include "engine/lab/LabWork.h"
#include "engine/lab/PredictionComparison.h"
#include "engine/model/Elements.h"
#include "engine/model/Settings.h"
#include "engine/run/Experiment.h"
#include "engine/run/IdentificationRun.h"
#include "engine/run/RelayRun.h"

namespace banc::cli {

// The lab work around a run on the card: before it, the identification's
// or the relay test's plan, the settings of a rule from the kept model and
// the predicted response; after it, what the record gives (models, suggested
// settings, the ultimate gain, the comparison with the prediction).
class LabRun {
public:
    LabRun(const Request& request, std::shared_ptr<tarvic::Profile> profile);

    // On the configured elements, before the card is reached: "" or why the
    // run cannot go (Latin-1). `settings` and `elements` take a rule's
    // settings; what is done is told on standard output.
    std::string Prepare(Settings& settings, Elements& elements);
    // The plan of the run, or null for a plain one.
    RunPlan* Plan();
    // After the run: the lab work on its record, printed after the summary and written with the outputs.
    void Conclude(const Settings& settings, Elements& elements, const Outcome& outcome);
    const LabOutputs& Outputs() const { return m_outputs; }

private:
    std::string PrepareRule(Settings& settings, Elements& elements);
    std::string PreparePrediction(const Settings& settings, Elements& elements);
    void ConcludeIdentification(const Settings& settings, Elements& elements);
    void ConcludeRelay(const Settings& settings, Elements& elements);
    void ConcludePrediction(const Settings& settings, Elements& elements);
    // The rule's suggestion among `suggestions`, written into the closed loop's settings.
    void WriteChosen(const Settings& run, const std::vector<TunedSuggestion>& suggestions);

    const Request& m_request;
    std::shared_ptr<tarvic::Profile> m_profile;
    std::unique_ptr<IdentificationRun> m_identificationRun;
    std::unique_ptr<RelayRun> m_relayRun;
    std::optional<LabResult> m_lab;
    std::optional<RelayLabResult> m_relay;
    std::optional<TunedSuggestion> m_applied;
    std::optional<analysis::LoopPrediction> m_prediction;
    std::optional<PredictionComparison> m_comparison;
    LabOutputs m_outputs;
};

}  // namespace banc::cli
