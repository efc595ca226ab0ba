#include "engine/run/Experiment.h"

#include <tarvic/platform/Text.h>

#include <algorithm>

#include "engine/model/NumberText.h"
#include "engine/outputs/Results.h"
#include "engine/run/CardIdentity.h"
#include "engine/run/Download.h"
#include "engine/run/RunPlan.h"

namespace banc {
namespace {

// A block refused for its length is asked again; one that never comes right stops the experiment.
constexpr int kBlockAttempts = 3;
// The last order, that stops the loop of a card that went silent, is tried once.
constexpr int kStopAttempts = 1;
// After a stop that gave up an exchange, how long the card may stay quiet
// before that order counts as unanswered: a user who stops is leaving, and a
// card that answers does so within milliseconds (a slow reply still arriving
// keeps the wait going byte by byte).
constexpr std::chrono::milliseconds kLeavingQuiet{500};
constexpr double kTurnsPerBlock = 8;
constexpr std::chrono::milliseconds kShortestTurn{2}, kLongestTurn{100};

std::string Refusal(const std::string& text, const std::string& reply)
{
    return tarvic::Format("La carte a refus\xE9 la ligne \xAB %s \xBB (r\xE9ponse %s).", text.c_str(), reply.c_str());
}

bool IsRefusal(const CardLink::Reply& answer, bool order)
{
    return answer.status == CardLink::Status::Replied && (answer.line == "!Erreur" || (order && answer.line != "!OK"));
}

// A card that refuses a bench's first line, or the requests its watch makes,
// is likely a station's or another bench's.
std::string NotTheBenchsCard(const char* bench, const char* which, const std::string& line, const std::string& reply,
                             const std::string& identification)
{
    if (identification.empty())
        return tarvic::Format(
            "La carte a refus\xE9 %s du banc %s (\xAB %s \xBB, r\xE9ponse %s) et ne se "
            "pr\xE9sente pas \xE0 ?VER : est-ce bien la carte de ce banc ?",
            which, bench, line.c_str(), reply.c_str());
    return tarvic::Format(
        "La carte qui r\xE9pond se pr\xE9sente comme \xAB %s \xBB et a refus\xE9 %s du "
        "banc %s (\xAB %s \xBB, r\xE9ponse %s) : ce n'est pas la carte de ce banc.",
        identification.c_str(), which, bench, line.c_str(), reply.c_str());
}

}  // namespace

ExperimentObserver::~ExperimentObserver() = default;
void ExperimentObserver::Started(int) {}
void ExperimentObserver::Live(const LiveValues&) {}
void ExperimentObserver::BlockAcquired(int, int) {}
void ExperimentObserver::Silent(const std::string&) {}
void ExperimentObserver::OrderRefused(const std::string&) {}
void ExperimentObserver::Resting(double) {}

RunPlan::~RunPlan() = default;
std::vector<std::string> RunPlan::NextLines() { return {}; }

Experiment::Experiment(Elements& elements, const Settings& settings, CardLink& link)
    : m_elements(elements), m_settings(settings), m_link(link), m_observer(&m_silentObserver)
{
    const ExperimentCurves curves = CurvesOf(settings, elements);
    m_setpointScale = curves.setpoint.scale;
    m_commandScale = curves.command.scale;
}

std::unique_lock<std::mutex> Experiment::Hold() const
{
    return m_elementsLock ? std::unique_lock<std::mutex>(*m_elementsLock) : std::unique_lock<std::mutex>();
}

void Experiment::RequestStop()
{
    {
        std::lock_guard lock(m_mutex);
        ++m_stops;
        // A user who stops does not wait for a card that may never answer.
        if (!m_stoppingLoop || m_stops > 1) m_link.Abort();
    }
    m_wake.notify_all();
}

void Experiment::Send(std::vector<std::string> orders)
{
    {
        std::lock_guard lock(m_mutex);
        m_orders.insert(m_orders.end(), std::make_move_iterator(orders.begin()), std::make_move_iterator(orders.end()));
    }
    m_wake.notify_all();
}

std::vector<std::string> Experiment::Unsent()
{
    std::lock_guard lock(m_mutex);
    std::vector<std::string> orders(std::make_move_iterator(m_orders.begin()), std::make_move_iterator(m_orders.end()));
    m_orders.clear();
    return orders;
}

std::chrono::milliseconds Experiment::PollIntervalFor(double secondsPerBlock)
{
    const auto interval = std::chrono::milliseconds(static_cast<long>(secondsPerBlock * 1000 / kTurnsPerBlock));
    return std::clamp(interval, kShortestTurn, kLongestTurn);
}

int Experiment::BlocksAcquired() const
{
    const auto hold = Hold();
    return m_elements.recording->LitNbPoint() / kPointsPerBlock;
}

void Experiment::Fail(Outcome::Status status, std::string message)
{
    if (m_failed) return;
    m_failed = true;
    m_outcome = {status, std::move(message)};
}

bool Experiment::Exchange(Kind kind, const std::string& text, std::string& reply)
{
    return Accept(kind, text, Ask(kind == Kind::Order ? '!' : '?', text, m_link.GetTiming()), reply);
}

CardLink::Reply Experiment::Ask(char prefix, const std::string& text, const LinkTiming& tries)
{
    CardLink::Reply answer = m_link.Exchange(prefix, text, tries);
    m_answered = m_answered || answer.status == CardLink::Status::Replied;
    return answer;
}

std::string Experiment::SilentMessage(const std::string& text) const
{
    const LinkTiming& timing = m_link.GetTiming();
    const char* state = m_answered ? "ne r\xE9pond plus" : "ne r\xE9pond pas";
    const std::string wait = NumberText(timing.reply.count() / 1000.0);
    if (timing.attempts == 1)
        return tarvic::Format("La carte %s : \xAB %s \xBB envoy\xE9 une fois, sans r\xE9ponse au bout de %s s.", state,
                              text.c_str(), wait.c_str());
    return tarvic::Format(
        "La carte %s : \xAB %s \xBB envoy\xE9 %d fois, chaque fois sans r\xE9ponse au bout de %s s "
        "(%s s en tout).",
        state, text.c_str(), timing.attempts, wait.c_str(),
        NumberText(timing.attempts * timing.reply.count() / 1000.0).c_str());
}

std::string Experiment::Identification()
{
    // Asked once: the card already showed it answers.
    return IdentificationIn(Ask('?', "VER", {m_link.GetTiming().reply, 1}));
}

bool Experiment::FirstLine(const std::string& line)
{
    const CardLink::Reply answer = Ask('!', line, m_link.GetTiming());
    if (IsRefusal(answer, true)) {
        Fail(Outcome::Status::Refused,
             NotTheBenchsCard(m_settings.bench->name, "la premi\xE8re ligne", line, answer.line, Identification()));
        m_outcome.unusable = true;
        return false;
    }
    std::string reply;
    if (Accept(Kind::Order, line, answer, reply)) return true;
    m_outcome.unusable = m_outcome.status == Outcome::Status::Silent;
    return false;
}

bool Experiment::Accept(Kind kind, const std::string& text, const CardLink::Reply& answer, std::string& reply)
{
    switch (answer.status) {
    case CardLink::Status::Replied:
        if (IsRefusal(answer, kind == Kind::Order)) {
            Fail(Outcome::Status::Refused, Refusal(text, answer.line));
            m_refused = {text, answer.line};
            return false;
        }
        reply = answer.line;
        return true;
    case CardLink::Status::Silent: Fail(Outcome::Status::Silent, SilentMessage(text)); return false;
    case CardLink::Status::Lost:
        Fail(Outcome::Status::Lost,
             tarvic::Format("La liaison avec la carte est perdue : le port %s s'est ferm\xE9.", m_link.Port().c_str()));
        return false;
    case CardLink::Status::Aborted:
        m_cutShort = true;
        Fail(Outcome::Status::Interrupted, "Essai interrompu.");
        return false;
    }
    return false;
}

void Experiment::Configure()
{
    std::vector<std::string> lines;
    {
        const auto hold = Hold();
        lines = m_plan ? m_plan->RestConfiguration() : ConfigurationLines(m_elements, m_settings);
    }
    std::string reply;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (Stopping()) return;
        if (!(i == 0 ? FirstLine(lines[i]) : Exchange(Kind::Order, lines[i], reply))) return;
    }
    std::string start;
    {
        const auto hold = Hold();
        m_elements.recording->SetStart(true);
        start = LoopLine(m_elements, m_settings, true);
    }
    m_loopStarted = Exchange(Kind::Order, start, reply);
    if (m_loopStarted) m_observer->Started(static_cast<int>(lines.size()));
}

bool Experiment::SendOrders()
{
    while (true) {
        std::string line;
        {
            std::lock_guard lock(m_mutex);
            if (m_orders.empty()) return true;
            line = std::move(m_orders.front());
            m_orders.pop_front();
        }
        const CardLink::Reply answer = Ask('!', line, m_link.GetTiming());
        // A refused setting is the user's to mend: the run goes on.
        if (IsRefusal(answer, true)) {
            m_observer->OrderRefused(Refusal(line, answer.line));
            continue;
        }
        std::string reply;
        if (!Accept(Kind::Order, line, answer, reply)) return false;
    }
}

bool Experiment::PollLive(const std::vector<int>& benchRequests)
{
    const auto request = [this](CEidElement& element, int number) {
        std::string text;
        {
            const auto hold = Hold();
            text = element.DmdMesure(number);
        }
        if (text.empty()) return true;
        std::string reply;
        if (!Exchange(Kind::Request, text, reply)) return false;
        const auto hold = Hold();
        element.TraitRecept(reply);
        return true;
    };
    for (const int number : benchRequests)
        if (!request(*m_elements.bench, number)) return false;
    const ControllerKind& kind = *m_settings.mode->controller;
    if (!request(*m_elements.controller, kind.liveRequest)) return false;
    LiveValues values;
    {
        const auto hold = Hold();
        values.hasSetpoint = kind.setpointProbe >= 0;
        if (values.hasSetpoint) values.setpoint = m_elements.controller->LitSonde(kind.setpointProbe) * m_setpointScale;
        values.measure = m_elements.bench->LitSonde(m_settings.Measure().probe);
        values.command = m_elements.controller->LitSonde(kind.commandProbe) * m_commandScale;
        for (const auto& measure : m_settings.bench->measures)
            values.measures.push_back(m_elements.bench->LitSonde(measure.probe));
    }
    m_observer->Live(values);
    return true;
}

bool Experiment::FetchBlock(CEnregistrement& recording, const std::string& request)
{
    int before = 0;
    {
        const auto hold = Hold();
        before = recording.LitNbPoint();
    }
    std::string reply;
    for (int attempt = 0; attempt < kBlockAttempts; ++attempt) {
        if (!Exchange(Kind::Request, request, reply)) return false;
        int total = 0;
        {
            const auto hold = Hold();
            recording.TraitRecept(reply);
            if (recording.LitNbPoint() == before) {
                // Refused for its length: the recording asks for the same block again.
                if (recording.LitBloc().empty()) break;
                continue;
            }
            total = recording.LitParam(2);
        }
        // The blocks of a plan's rest are its own.
        if (&recording == m_elements.recording.get()) m_observer->BlockAcquired(BlocksAcquired(), total);
        return true;
    }
    Fail(Outcome::Status::Refused,
         tarvic::Format("Le bloc %d de l'enregistrement reste illisible apr\xE8s %d demandes.", BlocksAcquired() + 1,
                        kBlockAttempts));
    return false;
}

bool Experiment::PollRecording(CEnregistrement& recording)
{
    std::string reply;
    // Every block ready is fetched at once; the card keeps the next ones meanwhile.
    while (!Stopping()) {
        std::string request, status;
        {
            const auto hold = Hold();
            if (!recording.LitStart()) return true;
            if (recording.LitParam(1) == 1)
                request = recording.LitBloc();
            else
                status = recording.DmdMesure(0);
            if (request.empty() && status.empty()) return true;
        }
        if (!request.empty()) {
            if (!FetchBlock(recording, request)) return !m_failed;
            if (m_plan && &recording == m_elements.recording.get() && JudgeBlock()) return true;
            continue;
        }
        if (!Exchange(Kind::Request, status, reply)) return false;
        const auto hold = Hold();
        recording.TraitRecept(reply);
        if (recording.LitParam(1) != 1) return true;
    }
    return true;
}

void Experiment::Pause()
{
    std::unique_lock lock(m_mutex);
    m_wake.wait_for(lock, m_interval, [this] { return m_stops > 0 || !m_orders.empty(); });
}

void Experiment::StopLoop()
{
    std::string line;
    {
        const auto hold = Hold();
        m_elements.recording->SetStart(false);
        if (!m_loopStarted || m_outcome.status == Outcome::Status::Lost) return;
        line = LoopLine(m_elements, m_settings, false);
    }
    {
        // The first stop gave up the exchange under way, not this order.
        std::lock_guard lock(m_mutex);
        m_stoppingLoop = true;
        if (m_stops == 1) m_link.Resume();
    }
    // A card that went silent, or may have, gets one try, not the whole round of attempts.
    LinkTiming tries = m_link.GetTiming();
    if (m_outcome.status == Outcome::Status::Silent) tries.attempts = kStopAttempts;
    if (m_cutShort) tries = {std::min(tries.reply, kLeavingQuiet), kStopAttempts};
    std::string reply;
    // After a fault the first one stays the one reported.
    Accept(Kind::Order, line, Ask('!', line, tries), reply);
}

Outcome Experiment::Run()
{
    const auto recording = [this] {
        const auto hold = Hold();
        return m_elements.recording->LitStart();
    };
    std::vector<int> benchRequests;
    {
        const auto hold = Hold();
        benchRequests = {m_settings.Measure().request};
    }
    if (Configure(); !m_failed && (!m_plan || HoldRest(benchRequests))) {
        while (recording() && !Stopping()) {
            if (!SendOrders() || !PollLive(benchRequests) || !PollRecording(*m_elements.recording)) break;
            if (m_plan && (m_complete || !SendNextLines())) break;
            if (recording()) Pause();
        }
    }
    if (Stopping()) Fail(Outcome::Status::Interrupted, "Essai interrompu.");
    StopLoop();
    return m_outcome;
}

bool Experiment::HoldRest(const std::vector<int>& benchRequests)
{
    if (!m_loopStarted) return false;
    Curve measureCurve;
    double period = 0;
    std::unique_ptr<CEnregistrement> rest;
    {
        const auto hold = Hold();
        measureCurve = CurvesOf(m_settings, m_elements).measure;
        period = PeriodMs(*m_elements.recording) / 1000.0;
        rest = std::make_unique<CEnregistrement>(m_elements.recording.get());
        rest->SetStart(true);
    }
    // Each block of the rest is read, then forgotten: the card's block numbers are echoed, so
    // the next one is asked as the first again, and the rest may outlast the recording's length.
    // Each block is judged as if it came alone, so that the rest ends on the same block however
    // many a turn brings.
    std::vector<float> measure;
    bool enough = false;
    while (!enough && !Stopping()) {
        if (!SendOrders() || !PollLive(benchRequests) || !PollRecording(*rest)) return false;
        for (int block = 0; !enough && block < rest->LitNbPoint() / kPointsPerBlock; ++block) {
            for (int i = block * kPointsPerBlock; i < (block + 1) * kPointsPerBlock; ++i)
                measure.push_back(measureCurve.Value(*rest, i));
            m_observer->Resting(static_cast<double>(measure.size()) * period);
            const auto hold = Hold();
            enough = m_plan->RestEnough(measure, period);
        }
        if (rest->LitNbPoint() > 0) rest->SetStart(true);
        if (!enough) Pause();
    }
    if (Stopping()) return false;
    RunPlan::RunStart start;
    std::string stop, restart;
    {
        const auto hold = Hold();
        m_elements.recording->SetStart(true);
        start = m_plan->RunLines();
        stop = LoopLine(m_elements, m_settings, false);
        restart = LoopLine(m_elements, m_settings, true);
    }
    std::vector<std::string> lines = std::move(start.running);
    if (!start.stopped.empty()) {
        lines.push_back(stop);
        lines.insert(lines.end(), start.stopped.begin(), start.stopped.end());
        lines.push_back(restart);
    }
    std::string reply;
    for (const std::string& line : lines)
        if (Stopping() || !Exchange(Kind::Order, line, reply)) return false;
    return true;
}

bool Experiment::JudgeBlock()
{
    const auto hold = Hold();
    const CEnregistrement* judged = m_elements.recording.get();
    m_complete = m_plan->Complete();
    return m_complete || m_elements.recording.get() != judged;
}

bool Experiment::SendNextLines()
{
    std::vector<std::string> lines;
    {
        const auto hold = Hold();
        lines = m_plan->NextLines();
    }
    std::string reply;
    for (const std::string& line : lines)
        if (Stopping() || !Exchange(Kind::Order, line, reply)) return false;
    return true;
}

Outcome Experiment::Watch()
{
    std::vector<int> benchRequests;
    for (const auto& measure : m_settings.bench->measures)
        if (std::find(benchRequests.begin(), benchRequests.end(), measure.request) == benchRequests.end())
            benchRequests.push_back(measure.request);
    bool silent = false, refused = false;
    while (!Stopping()) {
        if (SendOrders() && PollLive(benchRequests)) {
            silent = refused = false;
        } else if (m_outcome.status == Outcome::Status::Lost || m_outcome.status == Outcome::Status::Interrupted) {
            break;
        } else {
            // Said once; the card is asked again at the next turn.
            if (m_outcome.status == Outcome::Status::Refused && !refused)
                m_observer->OrderRefused(NotTheBenchsCard(m_settings.bench->name, "la lecture des mesures",
                                                          m_refused.line, m_refused.reply, Identification()));
            else if (m_outcome.status != Outcome::Status::Refused && !silent)
                m_observer->Silent(m_outcome.message);
            silent = m_outcome.status == Outcome::Status::Silent;
            refused = m_outcome.status == Outcome::Status::Refused;
            m_failed = false;
            m_outcome = {};
        }
        Pause();
    }
    if (Stopping()) Fail(Outcome::Status::Interrupted, "Essai interrompu.");
    return m_outcome;
}

}  // namespace banc
