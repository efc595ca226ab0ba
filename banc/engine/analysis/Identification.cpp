#include "engine/analysis/Identification.h"

#include <cmath>

#include "engine/analysis/GraphicMethods.h"
#include "engine/analysis/ModelFit.h"
#include "engine/analysis/ResponseReading.h"
#include "engine/analysis/StepDetection.h"

namespace banc::analysis {
namespace {

// A model that leaves more than its noise and a tenth of the change
// unexplained does not describe the process (a response that rings, one
// that overshoots): its numbers would mislead.
constexpr double kResidualNoise = 3;
constexpr double kResidualChange = 0.1;
const char* const kNoModel =
    "Aucun mod\xE8le ne suit la mesure : la r\xE9ponse n'est ni celle d'un premier ordre retard\xE9 ni celle "
    "d'un int\xE9grateur.";

// The fit's first guess: the two points' reading, else Broïda's.
ProcessModel StartOf(const std::vector<MethodResult>& methods)
{
    for (const char* key : {"deux_points", "broida"})
        for (const MethodResult& method : methods)
            if (method.key == key) return method.model;
    return {};
}

}  // namespace

Identification Identify(const StepRecord& record)
{
    Identification identification;
    const DetectedStep detected = DetectStep(record);
    identification.step = detected.step;
    identification.refusal = detected.refusal;
    if (!identification.refusal.empty()) return identification;
    const StepAnalysed& step = identification.step;

    if (step.integrating) {
        identification.fit = FitIntegrator(record, step);
    } else {
        const ResponseReading reading(record, step);
        for (auto method : {Broida, TwoPoints, Strejc})
            if (std::optional<MethodResult> result = method(reading, step)) identification.methods.push_back(*result);
        const ProcessModel start = StartOf(identification.methods);
        if (start.timeConstant <= 0) {
            identification.refusal = kNoModel;
            identification.methods.clear();
            return identification;
        }
        identification.fit = FitFirstOrder(record, step, start);
    }
    const double change = step.measureFinal - step.measureBefore;
    if (!(identification.fit->rms <= kResidualNoise * step.noise + kResidualChange * std::abs(change))) {
        identification.refusal = kNoModel;
        identification.fit.reset();
        identification.methods.clear();
    }
    return identification;
}

}  // namespace banc::analysis
