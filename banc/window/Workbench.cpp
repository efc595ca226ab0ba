#include "window/Workbench.h"

#include <tarvic/platform/ErrorText.h>
#include <tarvic/platform/IniProfile.h>
#include <tarvic/platform/Text.h>

#include <algorithm>
#include <cmath>
#include <utility>

#include "engine/history/KeepRun.h"
#include "engine/model/ControllerChoice.h"
#include "engine/model/NumberText.h"
#include "engine/outputs/CsvExport.h"
#include "engine/outputs/Results.h"
#include "engine/run/Download.h"
#include "engine/run/Setup.h"
#include "window/Latin1.h"

namespace banc::window {
namespace {

constexpr int kWaitingTime = 1001;  // the recording's period, ms

const ParameterDef& Named(const char* name)
{
    const auto& all = CommonParameters();
    return *std::find_if(all.begin(), all.end(),
                         [name](const ParameterDef& def) { return def.name == std::string(name); });
}

// Each line once, in the order first given.
std::vector<std::string> Distinct(std::vector<std::string> lines)
{
    std::vector<std::string> distinct;
    for (auto& line : lines)
        if (std::find(distinct.begin(), distinct.end(), line) == distinct.end()) distinct.push_back(std::move(line));
    return distinct;
}

std::string OutOfRange(const ParameterDef& def, float value, float min, float max)
{
    return tarvic::Format("%s : %s est hors limites (%s).", def.help, NumberText(value).c_str(),
                          RangeText(min, max).c_str());
}

}  // namespace

Workbench::Workbench(Places places, QObject* parent)
    : QObject(parent), m_places(std::move(places)),
      m_profile(std::make_shared<tarvic::IniProfile>(WindowProfilePath())), m_card(m_places.card, m_lock, this),
      m_history(m_places.historyPath, m_places.user),
      m_room(m_places.mqtt, "tarvic-banc-fenetre", m_places.user.empty() ? history::LoginName() : m_places.user)
{
    connect(&m_card, &CardConnection::runEnded, this, &Workbench::OnRunEnded);
    connect(&m_card, &CardConnection::live, this, [this](const LiveValues& values) {
        if (m_running) m_room.Live(values);
    });
    // The network's thread hands them over to the window's.
    publish::RoomReport::Orders orders;
    orders.stop = [this] { QMetaObject::invokeMethod(this, &Workbench::roomStopAsked, Qt::QueuedConnection); };
    orders.message = [this](const std::string& text) {
        QMetaObject::invokeMethod(this, [this, text] { emit roomMessage(Q(text)); }, Qt::QueuedConnection);
    };
    orders.refused = [this](const std::string& why) {
        QMetaObject::invokeMethod(
            this, [this, why] { emit notice(Q("Ordre de la salle refus\xE9 : " + why)); }, Qt::QueuedConnection);
    };
    m_room.SetOrders(std::move(orders));
}

Workbench::~Workbench() { m_card.Disconnect(); }

std::string Workbench::WindowProfilePath() const { return m_places.profileFolder + "/tarvic-banc-fenetre.ini"; }

std::string Workbench::BenchProfilePath(const Bench& bench) const
{
    return m_places.profileFolder + "/tarvic-banc-" + bench.name + ".ini";
}

std::shared_ptr<tarvic::Profile> Workbench::BenchProfile() const { return m_store; }

std::string Workbench::Busy() const
{
    return m_running ? "Un essai est en cours : arr\xEAtez-le d'abord." : std::string();
}

std::string Workbench::Restore()
{
    m_cardChoice = m_profile.Card();
    const Bench& bench = m_profile.LastBench();
    m_store = std::make_shared<tarvic::IniProfile>(BenchProfilePath(bench));
    std::string error = Reconfigure(m_profile.Load(bench));
    if (!error.empty()) {
        // A profile the elements refuse: the bench's factory settings instead.
        Settings factory = m_profile.Load(bench);
        factory.factory = true;
        error = Reconfigure(factory);
        if (!error.empty()) return error;
    }
    return Connect();
}

std::string Workbench::Connect()
{
    // The elements attached already go to the card's session.
    std::string error = m_card.Connect(m_cardChoice, *m_settings.bench);
    TellRoomFree();
    return error;
}

void Workbench::TellRoomFree()
{
    if (m_running || RoomKey() == m_toldFree) return;
    m_room.Free(m_settings, CardIdentification());
    m_toldFree = RoomKey();
}

std::string Workbench::RoomKey() const
{
    return std::string(m_settings.bench->name) + ' ' + m_settings.mode->name + ' ' + CardIdentification();
}

std::string Workbench::CardIdentification() const
{
    // A port's card is not asked who it is: only the simulated one is known.
    return m_cardChoice.embedded ? EmbeddedCard::kIdentification : "";
}

std::string Workbench::Reconfigure(Settings settings)
{
    if (std::string busy = Busy(); !busy.empty()) return busy;
    m_card.Detach();
    Elements elements;
    const SetupResult result = Configure(settings, m_store, elements);
    if (!result.error.empty()) {
        m_card.Attach(m_elements, m_settings);
        return result.error;
    }
    {
        std::lock_guard lock(m_lock);
        // The last run stays on show until the next one; a job's recording is not one.
        if (!m_kept && !m_job && m_elements.recording && BlocksAcquired(*m_elements.recording) > 0)
            m_kept = LoadedExperiment{m_settings, std::move(m_elements), {}};
        m_elements = std::move(elements);
        m_settings = settings;
        // What these asked for is in the profile now.
        m_settings.values.clear();
        m_settings.signal.reset();
        m_settings.duration.reset();
        m_settings.factory = false;
    }
    m_profile.Save(m_settings);
    m_card.Attach(m_elements, m_settings);
    emit elementsChanged();
    TellRoomFree();
    if (!result.saved)
        emit notice(QString::fromLatin1("Les r\xE9glages n'ont pas pu \xEAtre gard\xE9s dans ") +
                    QString::fromLocal8Bit(m_store->Path().c_str()) + " : " +
                    QString::fromLatin1(tarvic::FileErrorReason(result.saveError, tarvic::FileUse::Write).c_str()) +
                    ".");
    return {};
}

void Workbench::SendLines(std::vector<std::string> lines)
{
    if (m_card.IsConnected()) m_card.Send(Distinct(std::move(lines)));
}

std::string Workbench::ChooseBench(const Bench& bench)
{
    if (std::string busy = Busy(); !busy.empty()) return busy;
    if (&bench == m_settings.bench) return {};
    m_card.Detach();
    const auto previous = m_store;
    m_store = std::make_shared<tarvic::IniProfile>(BenchProfilePath(bench));
    if (std::string error = Reconfigure(m_profile.Load(bench)); !error.empty()) {
        m_store = previous;
        m_card.Attach(m_elements, m_settings);
        return error;
    }
    m_profile.SaveBench(bench);
    // The last run of another bench is no business of this one's plot.
    m_unsaved = false;
    if (m_kept) {
        m_kept.reset();
        emit shownChanged();
    }
    // The simulated card plays one bench: the new bench's is started.
    if (m_cardChoice.embedded) return Connect();
    return {};
}

std::string Workbench::Remake(Settings settings, const LinesOf& lines)
{
    if (std::string error = Reconfigure(std::move(settings)); !error.empty()) return error;
    std::vector<std::string> sent;
    {
        std::lock_guard lock(m_lock);
        sent = lines(m_elements, m_settings);
    }
    SendLines(std::move(sent));
    return {};
}

std::string Workbench::ChooseMode(const Mode& mode)
{
    if (&mode == m_settings.mode) return {};
    // The card's loop is of the mode's kind at once.
    return Remake(m_profile.Load(*m_settings.bench, &mode), ConfigurationLines);
}

std::string Workbench::Check(const Values& values)
{
    for (const auto& [def, value] : values) {
        if (!Applies(*def, m_settings, m_elements)) return tarvic::Format("%s : sans objet dans ce mode.", def->help);
        float min = 0, max = 0;
        ParameterRange(*def, m_settings, m_elements, min, max);
        if (!(value >= min && value <= max)) return OutOfRange(*def, value, min, max);
        // What every element reads when it is made cannot change under a run.
        if (m_running && (def->shared || def->role == Role::Recording)) return Busy();
    }
    return {};
}

std::string Workbench::SetParameters(const Values& values)
{
    {
        std::lock_guard lock(m_lock);
        if (std::string error = Check(values); !error.empty()) return error;
        int kind = 0;
        m_elements.generator->LitCParam(0, kind);
        if (std::string error = SignalError(m_elements, kind, values); !error.empty()) return error;
    }
    std::vector<std::string> lines;
    bool remake = false;
    {
        std::lock_guard lock(m_lock);
        for (const auto& [def, value] : values) {
            m_elements.Of(def->role)->SetFParam(def->index, value);
            remake = remake || def->shared;
        }
        // Once all are set: two parameters of one command (K1 and K2 of "RKP") send it once, whole.
        for (const auto& [def, value] : values) {
            const std::vector<std::string> own = ParameterLines(m_elements, *def);
            lines.insert(lines.end(), own.begin(), own.end());
        }
    }
    // Every element reads the sampling period when it is made: all are made again and sent.
    if (remake) return Remake(m_settings, ConfigurationLines);
    SendLines(std::move(lines));
    emit elementsChanged();
    return {};
}

std::string Workbench::SetWiring(const CommandChoice& command, const MeasureChoice& measure, bool routed, bool feedback)
{
    Settings settings = m_settings;
    settings.command = &command;
    settings.measure = &measure;
    settings.routed = routed;
    settings.feedback = feedback;
    return Remake(settings, WiringLines);
}

std::string Workbench::SetActions(const std::string& letters)
{
    Settings settings = m_settings;
    settings.actions = letters;
    return Remake(settings, [](const Elements& elements, const Settings&) { return ActionLines(elements); });
}

std::string Workbench::ActionLetters() const
{
    // The PID's action bits, LitEtat 2 to 5.
    static constexpr char kLetters[] = "PIDM";
    std::string letters;
    for (int i = 0; i < 4; ++i) {
        int state = 0;
        m_elements.controller->LitEtat(2 + i, state);
        if (state == 1) letters += kLetters[i];
    }
    return letters;
}

std::string Workbench::ApplyController(const Settings& loop, const ControllerSettings& chosen)
{
    if (std::string busy = Busy(); !busy.empty()) return busy;
    Settings wanted = WithController(loop, chosen);
    const bool onIt = loop.bench == m_settings.bench && loop.mode == m_settings.mode &&
                      &loop.Measure() == &m_settings.Measure() && m_settings.routed && m_settings.feedback;
    if (!onIt) return Remake(std::move(wanted), ConfigurationLines);
    Values changed;
    std::string letters;
    {
        std::lock_guard lock(m_lock);
        for (const auto& [def, value] : wanted.values) {
            float now = 0;
            m_elements.Of(def->role)->LitFParam(def->index, now);
            if (now != value) changed.emplace_back(def, value);
        }
        letters = ActionLetters();
    }
    if (!changed.empty())
        if (std::string error = SetParameters(changed); !error.empty()) return error;
    if (letters != chosen.actions) return SetActions(chosen.actions);
    return {};
}

std::string Workbench::SetSignal(int kind, const Values& values)
{
    int current = 0;
    {
        std::lock_guard lock(m_lock);
        m_elements.generator->LitCParam(0, current);
        if (std::string error = SignalError(m_elements, kind, values); !error.empty()) return error;
    }
    if (kind == current) return SetParameters(values);
    if (std::string busy = Busy(); !busy.empty()) return busy;
    {
        // Checked whole first: nothing is set when one of them is refused.
        std::lock_guard lock(m_lock);
        if (std::string error = Check(values); !error.empty()) return error;
        for (const auto& [def, value] : values) m_elements.Of(def->role)->SetFParam(def->index, value);
    }
    Settings settings = m_settings;
    settings.signal = kind;
    return Remake(settings, [](const Elements& elements, const Settings&) { return GeneratorLines(elements); });
}

std::string Workbench::SetRecording(double seconds, float periodMs)
{
    if (std::string busy = Busy(); !busy.empty()) return busy;
    const ParameterDef& period = Named("tem");
    if (!(periodMs >= period.min && periodMs <= period.max))
        return OutOfRange(period, periodMs, period.min, period.max);
    const double blockSeconds = kPointsPerBlock * std::trunc(periodMs) / 1000.0;
    const double blocks = std::ceil(seconds / blockSeconds - 1e-9);
    if (!(blocks >= 1 && blocks <= kMaxBlocks))
        return tarvic::Format("Dur\xE9" "e de l'enregistrement %s s : %s s (1 \xE0 %d blocs de %s s).",
                              NumberText(seconds).c_str(), RangeText(blockSeconds, blockSeconds * kMaxBlocks).c_str(),
                              kMaxBlocks, NumberText(blockSeconds).c_str());
    {
        std::lock_guard lock(m_lock);
        m_elements.recording->SetFParam(kWaitingTime, periodMs);
    }
    Settings settings = m_settings;
    settings.duration = seconds;
    return Reconfigure(settings);
}

std::string Workbench::UseCard(const CardChoice& card)
{
    if (std::string busy = Busy(); !busy.empty()) return busy;
    m_cardChoice = card;
    m_profile.SaveCard(card);
    return Connect();
}

std::string Workbench::Download()
{
    if (!m_card.IsConnected()) return "Pas de carte : choisissez la carte simul\xE9" "e ou un port.";
    std::vector<std::string> lines;
    {
        std::lock_guard lock(m_lock);
        lines = ConfigurationLines(m_elements, m_settings);
    }
    const int count = static_cast<int>(lines.size());
    m_card.Send(std::move(lines));
    emit notice(
        QString::fromLatin1(tarvic::Format("Configuration envoy\xE9" "e \xE0 la carte (%d lignes).", count).c_str()));
    return {};
}

double Workbench::SecondsPerBlock()
{
    int perBlock = 0;
    {
        std::lock_guard lock(m_lock);
        perBlock = m_elements.recording->LitTempsAttente();
    }
    return perBlock / 1000.0 / (m_cardChoice.embedded ? m_cardChoice.speed : 1.0);
}

std::string Workbench::Start() { return StartWith(nullptr); }

std::string Workbench::StartJob(SessionJob& job) { return StartWith(&job); }

std::string Workbench::StartWith(SessionJob* job)
{
    if (std::string busy = Busy(); !busy.empty()) return busy;
    if (m_card.State() == LinkState::Lost)
        return "La liaison avec la carte est perdue : l'essai pourra d\xE9marrer quand elle sera reprise.";
    if (!m_card.IsConnected()) return "Pas de carte : choisissez la carte simul\xE9" "e ou un port.";
    const bool started = job ? m_card.StartJob(*job) : m_card.StartRun(Experiment::PollIntervalFor(SecondsPerBlock()));
    if (!started) return "L'essai ne peut pas d\xE9marrer.";
    m_running = true;
    m_job = job != nullptr;
    m_unsaved = false;
    m_startedAt = history::LocalTimeText();
    m_lastKept = {};
    if (m_kept) {
        m_kept.reset();
        emit shownChanged();
    }
    {
        std::lock_guard lock(m_lock);
        m_room.RunStarted(m_settings, m_elements, CardIdentification());
    }
    m_toldFree.clear();
    emit runStarted();
    return {};
}

void Workbench::Stop() { m_card.StopRun(); }

void Workbench::Finish()
{
    m_card.Detach();
    RunOver({Outcome::Status::Interrupted, "Essai interrompu.", false});
    m_card.Attach(m_elements, m_settings);
}

void Workbench::RunOver(const Outcome& outcome)
{
    // Once: the session's news of a run that Finish ended come after it, maybe after a save.
    if (!std::exchange(m_running, false)) return;
    std::lock_guard lock(m_lock);
    // A job's recording is of its last step: its result is elsewhere.
    m_unsaved = !m_job && BlocksAcquired(*m_elements.recording) > 0;
    // A run that acquired nothing has nothing to compare or print, nor to tell the room.
    if (!m_unsaved) {
        TellRoomFree();
        return;
    }
    m_lastKept = m_history.Keep(m_settings, m_elements, outcome, m_startedAt, CardIdentification());
    // Free or stopped, as the run ended, until the next run or another bench, mode or card.
    m_room.RunEnded(m_lastKept);
    m_toldFree = RoomKey();
}

void Workbench::OnRunEnded(const Outcome& outcome)
{
    const bool job = m_running && m_job;
    RunOver(outcome);
    // A job played with the elements (a sweep its sines and recordings): the user's come back from the profile.
    if (job)
        if (std::string error = Reconfigure(m_settings); !error.empty()) emit notice(Q(error));
    emit runEnded(outcome);
}

std::string Workbench::SaveArchive(const std::string& path)
{
    std::lock_guard lock(m_lock);
    std::string error = banc::SaveArchive(path, ShownSettings(), ShownElements());
    // What is shown is the last run, or an archive opened since it went.
    if (error.empty()) m_unsaved = false;
    return error;
}

std::string Workbench::ExportCsv(const std::string& path, CsvFormat format)
{
    std::lock_guard lock(m_lock);
    const Settings& settings = ShownSettings();
    Elements& elements = ShownElements();
    CEnregistrement& recording = *elements.recording;
    return WriteCsv(path, recording, ResultColumns(settings, elements), PeriodMs(recording), BlocksAcquired(recording),
                    format);
}

std::string Workbench::OpenArchive(const std::string& path, std::string* unchecked)
{
    if (std::string busy = Busy(); !busy.empty()) return busy;
    LoadedExperiment loaded;
    if (std::string error = LoadArchive(path, loaded); !error.empty()) return error;
    if (unchecked) *unchecked = loaded.notice;
    Show(std::move(loaded));
    return {};
}

std::string Workbench::OpenStored(long long number)
{
    if (std::string busy = Busy(); !busy.empty()) return busy;
    history::StoredRun run;
    if (std::string error = m_history.Read(number, run); !error.empty()) return error;
    LoadedExperiment loaded;
    const std::string name = tarvic::Format("l'archive de l'essai %lld", number);
    if (std::string error = LoadArchiveBytes(std::move(run.archive), name, loaded); !error.empty())
        return Capitalised(error);
    Show(std::move(loaded));
    return {};
}

void Workbench::Show(LoadedExperiment loaded)
{
    // On the archive's bench and mode, to run it again; what goes wrong there is no fault of the archive.
    std::string warning;
    if (loaded.settings.bench != m_settings.bench) warning = ChooseBench(*loaded.settings.bench);
    if (loaded.settings.bench == m_settings.bench && loaded.settings.mode != m_settings.mode)
        if (std::string error = ChooseMode(*loaded.settings.mode); !error.empty()) warning = error;
    m_kept = std::move(loaded);
    m_unsaved = false;
    emit shownChanged();
    if (!warning.empty()) emit notice(QString::fromLatin1(warning.c_str()));
}

}  // namespace banc::window
