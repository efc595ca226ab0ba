#include "engine/Experiment.h"

#include <tarvic/platform/Text.h>

#include <algorithm>

#include "engine/Download.h"
#include "engine/Results.h"

namespace banc {
namespace {

// A block refused for its length is asked again; one that never comes right stops the experiment.
constexpr int kBlockAttempts = 3;
// The last order, that stops the loop of a card that went silent, is tried once.
constexpr int kStopAttempts = 1;
constexpr double kTurnsPerBlock = 8;
constexpr std::chrono::milliseconds kShortestTurn{2}, kLongestTurn{100};

}  // namespace

ExperimentObserver::~ExperimentObserver() = default;
void ExperimentObserver::Started(int) {}
void ExperimentObserver::Live(const LiveValues&) {}
void ExperimentObserver::BlockAcquired(int, int) {}

Experiment::Experiment(Elements& elements, const Settings& settings, CardLink& link)
    : m_elements(elements), m_settings(settings), m_link(link), m_observer(&m_silentObserver)
{
    const ExperimentCurves curves = CurvesOf(settings, elements);
    m_setpointScale = curves.setpoint.scale;
    m_commandScale = curves.command.scale;
}

void Experiment::RequestStop()
{
    {
        std::lock_guard lock(m_mutex);
        ++m_stops;
    }
    m_wake.notify_all();
    if (m_stops > 1) m_link.Abort();
}

std::chrono::milliseconds Experiment::PollIntervalFor(double secondsPerBlock)
{
    const auto interval = std::chrono::milliseconds(static_cast<long>(secondsPerBlock * 1000 / kTurnsPerBlock));
    return std::clamp(interval, kShortestTurn, kLongestTurn);
}

int Experiment::BlocksAcquired() const { return m_elements.recording->LitNbPoint() / kPointsPerBlock; }

void Experiment::Fail(Outcome::Status status, std::string message)
{
    if (m_failed) return;
    m_failed = true;
    m_outcome = {status, std::move(message)};
}

bool Experiment::Exchange(Kind kind, const std::string& text, std::string& reply)
{
    return Accept(kind, text, m_link.Exchange(kind == Kind::Order ? '!' : '?', text), reply);
}

bool Experiment::Accept(Kind kind, const std::string& text, const CardLink::Reply& answer, std::string& reply)
{
    switch (answer.status) {
    case CardLink::Status::Replied:
        if (answer.line == "!Erreur" || (kind == Kind::Order && answer.line != "!OK")) {
            Fail(Outcome::Status::Refused,
                 tarvic::Format("La carte a refus\xE9 la ligne \xAB %s \xBB (r\xE9ponse %s).", text.c_str(),
                                answer.line.c_str()));
            return false;
        }
        reply = answer.line;
        return true;
    case CardLink::Status::Silent:
        Fail(Outcome::Status::Silent,
             tarvic::Format("La carte ne r\xE9pond plus : \xAB %s \xBB envoy\xE9 %d fois sans r\xE9ponse en %.1f s.",
                            text.c_str(), m_link.GetTiming().attempts,
                            m_link.GetTiming().reply.count() / 1000.0));
        return false;
    case CardLink::Status::Lost:
        Fail(Outcome::Status::Lost,
             tarvic::Format("La liaison avec la carte est perdue : le port %s s'est ferm\xE9.", m_link.Port().c_str()));
        return false;
    case CardLink::Status::Aborted:
        Fail(Outcome::Status::Interrupted, "Essai interrompu.");
        return false;
    }
    return false;
}

void Experiment::Configure()
{
    const std::vector<std::string> lines = ConfigurationLines(m_elements, m_settings);
    std::string reply;
    for (const auto& line : lines)
        if (Stopping() || !Exchange(Kind::Order, line, reply)) return;
    m_elements.recording->SetStart(true);
    m_loopStarted = Exchange(Kind::Order, LoopLine(m_elements, m_settings, true), reply);
    if (m_loopStarted) m_observer->Started(static_cast<int>(lines.size()));
}

bool Experiment::PollLive()
{
    const ControllerKind& kind = *m_settings.mode->controller;
    const MeasureChoice& measure = m_settings.Measure();
    std::string reply;
    // Each reply goes to the element that asked for it.
    const auto ask = [&](CEidElement& element, int request) {
        const std::string text = element.DmdMesure(request);
        if (text.empty()) return true;
        if (!Exchange(Kind::Request, text, reply)) return false;
        element.TraitRecept(reply);
        return true;
    };
    if (!ask(*m_elements.bench, measure.request) || !ask(*m_elements.controller, kind.liveRequest)) return false;
    LiveValues values;
    values.hasSetpoint = kind.setpointProbe >= 0;
    if (values.hasSetpoint) values.setpoint = m_elements.controller->LitSonde(kind.setpointProbe) * m_setpointScale;
    values.measure = m_elements.bench->LitSonde(measure.probe);
    values.command = m_elements.controller->LitSonde(kind.commandProbe) * m_commandScale;
    m_observer->Live(values);
    return true;
}

bool Experiment::FetchBlock(const std::string& request)
{
    CEnregistrement& recording = *m_elements.recording;
    const int before = recording.LitNbPoint();
    std::string reply;
    for (int attempt = 0; attempt < kBlockAttempts; ++attempt) {
        if (!Exchange(Kind::Request, request, reply)) return false;
        recording.TraitRecept(reply);
        if (recording.LitNbPoint() != before) {
            m_observer->BlockAcquired(BlocksAcquired(), recording.LitParam(2));
            return true;
        }
        // Refused for its length: the recording asks for the same block again.
        if (recording.LitBloc().empty()) break;
    }
    Fail(Outcome::Status::Refused,
         tarvic::Format("Le bloc %d de l'enregistrement reste illisible apr\xE8s %d demandes.", BlocksAcquired() + 1,
                        kBlockAttempts));
    return false;
}

bool Experiment::PollRecording()
{
    CEnregistrement& recording = *m_elements.recording;
    std::string reply;
    // Every block ready is fetched at once; the card keeps the next ones meanwhile.
    while (recording.LitStart() && !Stopping()) {
        if (recording.LitParam(1) == 1) {
            const std::string request = recording.LitBloc();
            if (request.empty() || !FetchBlock(request)) return !m_failed;
            continue;
        }
        const std::string status = recording.DmdMesure(0);
        if (status.empty()) return true;
        if (!Exchange(Kind::Request, status, reply)) return false;
        recording.TraitRecept(reply);
        if (recording.LitParam(1) != 1) return true;
    }
    return true;
}

void Experiment::Pause()
{
    std::unique_lock lock(m_mutex);
    m_wake.wait_for(lock, m_interval, [this] { return m_stops > 0; });
}

void Experiment::StopLoop()
{
    m_elements.recording->SetStart(false);
    if (!m_loopStarted || m_outcome.status == Outcome::Status::Lost) return;
    const std::string line = LoopLine(m_elements, m_settings, false);
    // A card that went silent gets one try, not the whole round of attempts.
    const int attempts = m_outcome.status == Outcome::Status::Silent ? kStopAttempts : m_link.GetTiming().attempts;
    std::string reply;
    // After a fault the first one stays the one reported.
    Accept(Kind::Order, line, m_link.Exchange('!', line, attempts), reply);
}

Outcome Experiment::Run()
{
    if (Configure(); !m_failed) {
        while (m_elements.recording->LitStart() && !Stopping()) {
            if (!PollLive() || !PollRecording()) break;
            if (m_elements.recording->LitStart()) Pause();
        }
    }
    if (Stopping()) Fail(Outcome::Status::Interrupted, "Essai interrompu.");
    StopLoop();
    return m_outcome;
}

}  // namespace banc
