#include "cli/SweepRun.h"

#include <tarvic/platform/Text.h>

#include <utility>

#include "cli/Console.h"
#include "cli/ExitStatus.h"
#include "cli/Interrupts.h"
#include "cli/Outputs.h"
#include "cli/RoomLink.h"
#include "cli/Run.h"
#include "engine/history/KeepRun.h"
#include "engine/lab/StoredModel.h"
#include "engine/outputs/BodeCsv.h"
#include "engine/outputs/BodePlot.h"
#include "engine/outputs/FigureText.h"
#include "engine/outputs/Results.h"
#include "engine/outputs/SweepDiagram.h"
#include "engine/outputs/SweepJson.h"
#include "engine/outputs/SweepSummary.h"
#include "engine/outputs/SweepText.h"
#include "engine/publish/RoomReport.h"
#include "engine/run/FrequencySweep.h"
#include "engine/run/IdentificationRun.h"

namespace banc::cli {
namespace {

constexpr int kGainDigits = 3;

// What the sweep does, on standard error: its rest, then each frequency as it starts and as it is measured.
class SweepProgress : public SweepObserver {
public:
    explicit SweepProgress(std::string gainUnit) : m_gainUnit(std::move(gainUnit)) {}

    void Resting(double seconds) override
    {
        // Once a minute of the card's time, not at every block.
        if (seconds < m_nextRest) return;
        m_nextRest = seconds + 60;
        Tell(tarvic::Format("Repos \xE0 la commande de d\xE9part : %s s.", DecimalText(seconds, 0).c_str()));
    }
    void FrequencyStarted(int index, int count, double hz) override
    {
        Tell(tarvic::Format("Fr\xE9quence %d/%d : %s...", index + 1, count, HertzText(hz).c_str()));
    }
    void FrequencyMeasured(int, int, const analysis::BodePoint& point) override
    {
        Tell(tarvic::Format("  gain %s %s (%s dB), phase %s\xB0%s", SignificantText(point.gain, kGainDigits).c_str(),
                            m_gainUnit.c_str(), DecimalText(point.gainDb, 1).c_str(),
                            DecimalText(point.phaseDeg, 1).c_str(), point.trusted ? "" : (", " + point.flag).c_str()));
    }

private:
    std::string m_gainUnit;
    double m_nextRest = 0;
};

// The sweep's progress, its live values to the room too.
class PublishedSweepProgress : public SweepProgress {
public:
    PublishedSweepProgress(std::string gainUnit, publish::RoomReport& room)
        : SweepProgress(std::move(gainUnit)), m_room(room)
    {
    }
    void Live(const LiveValues& values) override { m_room.Live(values); }

private:
    publish::RoomReport& m_room;
};

std::string PlanText(const SweepPlan& plan)
{
    const SweepFrequency& low = plan.frequencies.front();
    const SweepFrequency& high = plan.frequencies.back();
    return tarvic::Format("Balayage de %d fr\xE9quences de %s \xE0 %s%s, sinus de %s %% autour de %s %%.",
                          static_cast<int>(plan.frequencies.size()), HertzText(low.playedHz).c_str(),
                          HertzText(high.playedHz).c_str(), plan.model ? " (tir\xE9" "es du mod\xE8le gard\xE9)" : "",
                          SignificantText(plan.amplitude, kGainDigits).c_str(),
                          SignificantText(plan.rest, kGainDigits).c_str());
}

bool WriteSweepOutputs(const Request& request, const Settings& settings, const SweepPlan& plan,
                       const SweepResult& result, const SweepLoop& loop)
{
    WrittenFiles files;
    if (!request.csv.empty())
        files.Add(request.csv,
                  WriteBodeCsv(request.csv, result.points, request.csvFormat.value_or(CsvFormat::Rfc4180)));
    if (!request.png.empty()) {
        RequireGuiApplication();
        files.Add(request.png, SaveBode(request.png, SweepDiagram(ExperimentTitle(settings), result, &loop)));
    }
    if (!request.json.empty()) files.Add(request.json, WriteSweepJson(request.json, settings, plan, result, &loop));
    Write(stdout, SweepSummary(settings, result, loop));
    files.TellWritten();
    return files.Ok();
}

}  // namespace

SweepRequest SweepAsked(const Request& request, const Settings& settings)
{
    SweepRequest asked;
    asked.lowHz = request.fmin;
    asked.highHz = request.fmax;
    if (request.points) asked.points = *request.points;
    TakeGivenLevels(settings, asked);
    asked.stabilisation = request.settling.value_or(kDefaultStabilisation);
    // A real card runs at the clock's pace.
    asked.speed = request.port.empty() ? request.speed.value_or(1) : 1;
    return asked;
}

int RunSweep(const Request& request, const Settings& settings, const std::string& programDir)
{
    InterruptWatch interrupts;  // first: the serial thread and the card must not take Ctrl-C
    Elements elements;
    std::shared_ptr<tarvic::Profile> profile;
    if (const int status = PrepareRun(request, settings, elements, profile); status != kExitDone) return status;
    const SweepRequest asked = SweepAsked(request, settings);
    const SweepPlan plan = PlanSweep(asked, settings, elements, LoadModel(*profile, settings, elements));
    if (!plan.refusal.empty()) {
        Complain(plan.refusal);
        return kExitUsage;
    }
    Tell(PlanText(plan));
    if (!plan.warning.empty()) Complain(plan.warning);

    EmbeddedCard card;
    std::unique_ptr<CardLink> link;
    if (!OpenCard(request, settings, programDir, card, link)) return kExitUnavailable;
    // After the interrupt watch: the network's threads must not take Ctrl-C either.
    publish::RoomReport room(RoomSettings(request, *profile), "tarvic-banc",
                             request.student.empty() ? history::LoginName() : request.student);
    const std::string cardName = request.port.empty() ? EmbeddedCard::kIdentification : "";
    SweepResult result;
    {
        PublishedSweepProgress progress(CurvesOf(settings, elements).measureUnit.unit + "/%", room);
        FrequencySweep sweep(elements, settings, *link, plan);
        sweep.SetObserver(&progress);
        sweep.SetSpeed(request.speed.value_or(1));
        interrupts.SetHandler([&sweep] { sweep.RequestStop(); });
        if (interrupts.Count() > 0) sweep.RequestStop();
        room.RunStarted(settings, elements, cardName);
        room.SetOrders(RoomOrders([&sweep] { sweep.RequestStop(); }));
        result = sweep.Run();
        room.SetOrders(RoomOrders({}));
        interrupts.SetHandler({});
    }
    const Outcome& outcome = result.outcome;
    room.RunEnded(settings, outcome, cardName);
    if (outcome.unusable || result.points.empty()) {
        // Nothing was measured: no figures to give, no file to write.
        Complain(outcome.unusable
                     ? outcome.message
                     : outcome.message + " Aucune fr\xE9quence mesur\xE9" "e : aucun fichier n'est \xE9" "crit.");
        return outcome.status == Outcome::Status::Interrupted ? kExitInterrupted : kExitUnavailable;
    }
    if (outcome.status != Outcome::Status::Finished)
        Complain(tarvic::Format("%s %d fr\xE9quences mesur\xE9" "es sur %d, gard\xE9" "es. %s", outcome.message.c_str(),
                                static_cast<int>(result.points.size()), static_cast<int>(plan.frequencies.size()),
                                MissingText(result.missingHz).c_str()));
    const SweepLoop loop = LoopOfSweep(result, settings, profile);
    const bool written = WriteSweepOutputs(request, settings, plan, result, loop);
    const int status = StatusOf(outcome);
    return written || status == kExitInterrupted ? status : kExitUnavailable;
}

}  // namespace banc::cli
