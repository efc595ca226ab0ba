#include "engine/run/FrequencySweep.h"

#include "engine/analysis/OpenLoop.h"
#include "engine/lab/LabWork.h"
#include "engine/lab/LoopTuning.h"
#include "engine/model/ProfileScope.h"
#include "engine/model/StagedProfile.h"
#include "engine/run/Setup.h"

namespace banc {

SweepLoop LoopOfSweep(const SweepResult& result, const Settings& settings,
                      const std::shared_ptr<tarvic::Profile>& profile)
{
    SweepLoop loop;
    const LoopTarget target = ClosedLoopFor(settings);
    if (!target.refusal.empty()) {
        loop.refusal = target.refusal;
        return loop;
    }
    // The loop's elements on a scratch copy of the profile, never committed.
    const auto scratch = std::make_shared<StagedProfile>(profile);
    ProfileScope scope(scratch);
    Elements elements;
    if (const SetupResult setup = Configure(target.settings, scratch, elements); !setup.error.empty()) {
        loop.refusal = setup.error;
        return loop;
    }
    const analysis::CardPid pid = CardPidOf(*elements.controller, *elements.bench);
    const analysis::LoopScale scale = LoopScaleOf(target.settings, *elements.bench);
    loop.openLoop =
        analysis::OpenLoop(result.points, [&](double hz) { return analysis::CardPidResponse(pid, scale, hz); });
    loop.margins = analysis::MarginsOf(loop.openLoop);
    return loop;
}

}  // namespace banc
