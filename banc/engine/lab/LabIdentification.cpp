#include "engine/lab/LabWork.h"

#include "engine/lab/LoopTuning.h"
#include "engine/lab/RecordedResponse.h"

namespace banc {
namespace {

constexpr const char* kReverseAction =
    "Le proc\xE9" "d\xE9 r\xE9pond \xE0 l'envers (gain n\xE9gatif) : le pupitre ne propose pas de r\xE9glage en action "
    "inverse.";

}  // namespace

LabResult IdentifyRun(const Settings& openLoop, const Elements& elements,
                      const std::shared_ptr<tarvic::Profile>& profile, const analysis::TuningOptions& options)
{
    LabResult result;
    result.record = RecordedResponse(openLoop, elements);
    result.identification = analysis::Identify(result.record);
    if (!result.identification.Identified()) return result;
    const analysis::ProcessModel& model = result.identification.fit->model;
    if (!(model.gain > 0)) {
        result.tuningRefusal = kReverseAction;
        return result;
    }
    result.tuningRefusal =
        TuneForLoopOf(openLoop, profile, analysis::SuggestSettings(model, options), &model, result.suggestions);
    return result;
}

}  // namespace banc
