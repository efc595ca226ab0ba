#include "cli/Run.h"

#include <tarvic/platform/ErrorText.h>
#include <tarvic/platform/IniProfile.h>
#include <tarvic/platform/Text.h>

#include "cli/ExitStatus.h"
#include "cli/Interrupts.h"
#include "cli/LabRun.h"
#include "cli/Outputs.h"
#include "cli/Progress.h"
#include "cli/RoomLink.h"
#include "engine/history/KeepRun.h"
#include "engine/link/CardOpening.h"
#include "engine/link/EmbeddedCard.h"
#include "engine/outputs/CsvExport.h"
#include "engine/outputs/RecordingArchive.h"
#include "engine/outputs/Results.h"
#include "engine/publish/RoomReport.h"
#include "engine/run/CardIdentity.h"
#include "engine/run/Experiment.h"
#include "engine/run/Setup.h"

namespace banc::cli {
namespace {

// Each block goes to the CSV as it comes, then to the progress line; the live values to the room too.
class RunWatcher : public ExperimentObserver {
public:
    RunWatcher(Progress& progress, CsvWriter& csv, const CEnregistrement& recording, publish::RoomReport& room)
        : m_progress(progress), m_csv(csv), m_recording(recording), m_room(room)
    {
    }
    void Started(int lines) override { m_progress.Started(lines); }
    void Live(const LiveValues& values) override
    {
        m_progress.Live(values);
        m_room.Live(values);
    }
    void Resting(double seconds) override { m_progress.Resting(seconds); }
    void BlockAcquired(int acquired, int total) override
    {
        if (m_csv.IsOpen()) m_csv.WriteBlock(m_recording, acquired - 1);
        m_progress.BlockAcquired(acquired, total);
    }

private:
    Progress& m_progress;
    CsvWriter& m_csv;
    const CEnregistrement& m_recording;
    publish::RoomReport& m_room;
};

// Every run that acquired a block is kept; a base that cannot take it only warns.
history::KeptInHistory KeepInHistory(const Settings& settings, Elements& elements, const Outcome& outcome,
                                     const RunReport& lab, const history::RunContext& context)
{
    history::KeptInHistory kept = history::KeepRun(settings, elements, outcome, lab, context);
    if (!kept.warning.empty())
        Complain(kept.warning);
    else
        Tell(tarvic::Format("Essai n\xB0 %lld gard\xE9 dans l'historique (tarvic-banc --essai %lld).", kept.number,
                            kept.number));
    return kept;
}

}  // namespace

int StatusOf(const Outcome& outcome)
{
    switch (outcome.status) {
    case Outcome::Status::Finished: return kExitDone;
    case Outcome::Status::Interrupted: return kExitInterrupted;
    default: return kExitCardFault;
    }
}

CardPlace CardPlaceOf(const Request& request, const Settings& settings, const std::string& programDir)
{
    CardPlace place;
    place.simulated = request.port.empty();
    place.port = request.port;
    place.card = {EmbeddedCard::Locate(programDir), settings.bench->name, request.speed.value_or(1), request.noise,
                  request.seed};
    if (request.replyMs) place.timing.reply = std::chrono::milliseconds(*request.replyMs);
    return place;
}

int PrepareRun(const Request& request, const Settings& settings, Elements& elements,
               std::shared_ptr<tarvic::Profile>& profile)
{
    const std::string profilePath = request.profile.empty()
                                        ? tarvic::DefaultProfilePath(std::string("tarvic-banc-") + settings.bench->name)
                                        : request.profile;
    if (const int status = OutputsStatus(request, profilePath); status != kExitDone) return status;
    profile = std::make_shared<tarvic::IniProfile>(profilePath);
    const SetupResult setup = Configure(settings, profile, elements);
    if (!setup.error.empty()) {
        Complain(setup.error);
        return kExitUsage;
    }
    if (!setup.saved)
        Complain(tarvic::Format("Les r\xE9glages n'ont pas pu \xEAtre gard\xE9s dans %s : %s.", profilePath.c_str(),
                                tarvic::FileErrorReason(setup.saveError, tarvic::FileUse::Write).c_str()));
    return kExitDone;
}

bool OpenCard(const Request& request, const Settings& settings, const std::string& programDir, EmbeddedCard& card,
              std::unique_ptr<CardLink>& link)
{
    const CardPlace place = CardPlaceOf(request, settings, programDir);
    OpenedCard opened = banc::OpenCard(place, card);
    if (!opened.link) {
        Complain(opened.error);
        return false;
    }
    if (place.simulated)
        Tell(tarvic::Format("Carte simul\xE9" "e du banc %s sur %s, vitesse %g.", settings.bench->name,
                            card.Path().c_str(), place.card.speed));
    link = std::move(opened.link);
    return true;
}

int RunExperiment(const Request& request, const Settings& asked, const std::string& programDir)
{
    Settings settings = asked;  // a rule's settings join the user's
    InterruptWatch interrupts;  // first: the serial thread and the card must not take Ctrl-C
    Elements elements;
    std::shared_ptr<tarvic::Profile> profile;
    if (const int status = PrepareRun(request, settings, elements, profile); status != kExitDone) return status;
    LabRun lab(request, profile);
    if (std::string error = lab.Prepare(settings, elements); !error.empty()) {
        Complain(error);
        return kExitUsage;
    }

    EmbeddedCard card;
    std::unique_ptr<CardLink> opened;
    if (!OpenCard(request, settings, programDir, card, opened)) return kExitUnavailable;
    CardLink& link = *opened;
    CEnregistrement& recording = *elements.recording;
    CsvWriter csv;
    if (!request.csv.empty()) {
        if (std::string error = csv.Open(request.csv, ResultColumns(settings, elements), PeriodMs(recording),
                                         request.csvFormat.value_or(CsvFormat::Rfc4180));
            !error.empty()) {
            Complain(error);
            return kExitUnavailable;
        }
    }

    // After the interrupt watch: the network's threads must not take Ctrl-C either.
    publish::RoomReport room(RoomSettings(request, *profile), "tarvic-banc",
                             request.student.empty() ? history::LoginName() : request.student);
    const double secondsPerBlock = recording.LitTempsAttente() / 1000.0 / request.speed.value_or(1);
    const std::string startedAt = history::LocalTimeText();
    Outcome outcome;
    {
        Progress progress(stderr, recording.LitParam(2), secondsPerBlock,
                          CurvesOf(settings, elements).measureUnit.unit);
        RunWatcher watcher(progress, csv, recording, room);
        Experiment experiment(elements, settings, link);
        experiment.SetObserver(&watcher);
        experiment.SetPlan(lab.Plan());
        experiment.SetPollInterval(Experiment::PollIntervalFor(secondsPerBlock));
        interrupts.SetHandler([&experiment] { experiment.RequestStop(); });
        if (interrupts.Count() > 0) experiment.RequestStop();
        room.RunStarted(settings, elements, request.port.empty() ? EmbeddedCard::kIdentification : "");
        room.SetOrders(RoomOrders([&experiment] { experiment.RequestStop(); }));
        outcome = experiment.Run();
        room.SetOrders(RoomOrders({}));
        interrupts.SetHandler({});
    }
    const int kept = BlocksAcquired(recording);
    if (outcome.unusable || kept == 0) {
        // Nothing was acquired: no figures to give, no file to write.
        csv.Abandon();
        Complain(outcome.unusable ? outcome.message
                                  : outcome.message + " Aucun bloc acquis : aucun fichier n'est \xE9" "crit.");
        return outcome.status == Outcome::Status::Interrupted ? kExitInterrupted : kExitUnavailable;
    }
    if (outcome.status != Outcome::Status::Finished) {
        const char* plural = kept > 1 ? "s" : "";
        Complain(tarvic::Format("%s %d bloc%s sur %d gard\xE9%s.", outcome.message.c_str(), kept, plural,
                                recording.LitParam(2), plural));
    }
    const std::optional<std::string> csvResult = csv.IsOpen() ? std::optional(csv.Finish()) : std::nullopt;
    lab.Conclude(settings, elements, outcome);
    const bool written = WriteOutputs(request, settings, elements, csvResult, lab.Outputs());
    // After the files: a base that makes the console wait holds up nothing the user asked for.
    std::string identification = outcome.status == Outcome::Status::Finished ? AskIdentification(link) : std::string();
    if (identification.empty() && request.port.empty()) identification = EmbeddedCard::kIdentification;
    room.RunEnded(KeepInHistory(settings, elements, outcome, lab.Outputs().report,
                                {request.history, request.student, identification, startedAt}));
    // A file lost says so, but an interrupted run keeps the shell's status.
    const int status = StatusOf(outcome);
    return written || status == kExitInterrupted ? status : kExitUnavailable;
}

int OpenArchive(const Request& request)
{
    if (request.runOptions) {
        Complain("--ouvrir ne se combine qu'avec --csv, --csv-format, --png, --archive et --json.");
        return kExitUsage;
    }
    // Reading an archive writes no profile.
    if (const int status = OutputsStatus(request, ""); status != kExitDone) return status;
    LoadedExperiment loaded;
    if (std::string error = LoadArchive(request.open, loaded); !error.empty()) {
        Complain(error);
        return kExitUnavailable;
    }
    if (!loaded.notice.empty()) Tell(loaded.notice);
    return WriteOutputs(request, loaded.settings, loaded.elements, std::nullopt) ? kExitDone : kExitUnavailable;
}

}  // namespace banc::cli
