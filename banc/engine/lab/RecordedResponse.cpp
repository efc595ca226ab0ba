#include "engine/lab/RecordedResponse.h"

#include "engine/outputs/Results.h"

namespace banc {

analysis::StepRecord RecordedResponse(const Settings& settings, const Elements& elements)
{
    CEnregistrement& recording = *elements.recording;
    const ExperimentCurves curves = CurvesOf(settings, elements);
    const int points = BlocksAcquired(recording) * kPointsPerBlock;
    analysis::StepRecord record;
    record.period = PeriodMs(recording) / 1000.0;
    record.command.reserve(points);
    record.measure.reserve(points);
    for (int i = 0; i < points; ++i) {
        record.command.push_back(curves.command.Value(recording, i));
        record.measure.push_back(curves.measure.Value(recording, i));
    }
    return record;
}

}  // namespace banc
