#pragma once

#include <QObject>

#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "engine/history/KeepRun.h"
#include "engine/lab/LabWork.h"
#include "engine/outputs/CsvExport.h"
#include "engine/outputs/RecordingArchive.h"
#include "engine/publish/RoomReport.h"
#include "net/MqttSettings.h"
#include "window/CardConnection.h"
#include "window/HistoryBase.h"
#include "window/WindowProfile.h"

namespace tarvic {
class IniProfile;
}

namespace banc::window {

// What the window works on, without the widgets: the bench and mode chosen,
// the experiment's elements made in the bench's profile, the card, and the
// experiment the plot shows. Every change is checked first and either made
// whole or refused with a French message (Latin-1) that leaves everything
// as it was; a change reaches a connected card at once.
class Workbench : public QObject {
    Q_OBJECT

public:
    struct Places {
        // The window's profile and the benches' own (those of the command line too).
        std::string profileFolder;
        CardConnection::Setup card;
        // The run history's base, "" the user's default one; the name runs are kept under, "" the login.
        std::string historyPath;
        std::string user;
        // The room's broker the window reports to; off without a host.
        net::MqttSettings mqtt;
    };
    // What became of the last run in the history: its number (0 not kept)
    // and why not (Latin-1, "" when kept or when there was nothing to keep).
    using Kept = history::KeptInHistory;
    using Values = std::vector<std::pair<const ParameterDef*, float>>;

    explicit Workbench(Places places, QObject* parent = nullptr);
    ~Workbench() override;

    // Opens on the bench, mode and card the user left; "" or why the card is
    // missing (the elements are ready all the same).
    std::string Restore();

    // The live experiment, shared with the card's thread: touched holding Lock().
    const Settings& LiveSettings() const { return m_settings; }
    Elements& LiveElements() { return m_elements; }
    std::mutex& Lock() { return m_lock; }
    // What the plot shows: the live experiment, or an archive opened, or the
    // last run kept when the elements were made again; reset by the next run.
    const Settings& ShownSettings() const { return m_kept ? m_kept->settings : m_settings; }
    Elements& ShownElements() { return m_kept ? m_kept->elements : m_elements; }
    bool ShowsLive() const { return !m_kept; }

    CardConnection& Card() { return m_card; }
    HistoryBase& History() { return m_history; }
    const Kept& LastKept() const { return m_lastKept; }
    // What the room is told of the bench and its runs.
    publish::RoomReport& Room() { return m_room; }
    // The user's choices kept for the window.
    WindowProfile& Choices() { return m_profile; }
    const CardChoice& CardChosen() const { return m_cardChoice; }
    std::string BenchProfilePath(const Bench& bench) const;
    // The bench's profile the elements are made in.
    std::shared_ptr<tarvic::Profile> BenchProfile() const;
    std::string WindowProfilePath() const;

    std::string ChooseBench(const Bench& bench);
    std::string ChooseMode(const Mode& mode);
    // Each value checked against its range, then all set in their elements
    // (and so in the profile) and sent.
    std::string SetParameters(const Values& values);
    std::string SetWiring(const CommandChoice& command, const MeasureChoice& measure, bool routed, bool feedback);
    std::string SetActions(const std::string& letters);
    // A suggested controller in the closed loop `loop`: on that loop already,
    // its changed coefficients and actions, each as the controller's dialog
    // sends them; else the loop made with them and its whole configuration sent.
    std::string ApplyController(const Settings& loop, const ControllerSettings& chosen);
    // The generator's signal and its parameters, refused when it would play nothing.
    std::string SetSignal(int kind, const Values& values);
    // The recording's length, in seconds (rounded up to whole blocks), and its period.
    std::string SetRecording(double seconds, float periodMs);
    std::string UseCard(const CardChoice& card);

    std::string Download();
    std::string Start();
    // A job on the card in a run's place (a frequency sweep): stopped, finished
    // and ended as a run, but what it records is its own business, not a run to save.
    std::string StartJob(SessionJob& job);
    // The run under way, or the last one, was a job.
    bool RanJob() const { return m_job; }
    void Stop();
    // Stops a run under way and returns once the card's loop is stopped.
    void Finish();
    bool Running() const { return m_running; }
    // The last run is over and in no archive yet: what would drop it asks first.
    bool Unsaved() const { return m_unsaved; }
    // The wall-clock time of one block.
    double SecondsPerBlock();

    // Of the experiment shown, as the command line writes them.
    std::string SaveArchive(const std::string& path);
    std::string ExportCsv(const std::string& path, CsvFormat format);
    // Shows the archive's experiment, on its bench and mode; a file that cannot be read changes nothing.
    // `unchecked`, when given, takes the notice of an archive opened without its check ("" or Latin-1).
    std::string OpenArchive(const std::string& path, std::string* unchecked = nullptr);
    // Shows the run `number` of the history the same way.
    std::string OpenStored(long long number);

signals:
    void elementsChanged();  // made again, or a parameter changed
    void shownChanged();     // the plot shows another experiment
    void runStarted();
    void runEnded(const Outcome& outcome);
    void notice(const QString& text);
    // The room's orders, on the window's thread: stop the run, show a message (Latin-1 made text).
    void roomStopAsked();
    void roomMessage(const QString& text);

private:
    // The elements made again from the profile with these settings.
    std::string Reconfigure(Settings settings);
    // Made again, then sent what `lines` gives of the new elements.
    using LinesOf = std::function<std::vector<std::string>(const Elements&, const Settings&)>;
    std::string Remake(Settings settings, const LinesOf& lines);
    std::string Connect();
    std::string Busy() const;
    // A run of the elements, or the job when given.
    std::string StartWith(SessionJob* job);
    // Holding the lock: "" when every value may be set now.
    std::string Check(const Values& values);
    // Holding the lock: the PID's actions as letters among P, I, D and M.
    std::string ActionLetters() const;
    // Sent when a card is there.
    void SendLines(std::vector<std::string> lines);
    // Whatever ended it: what it acquired is to be saved, and is kept in the history.
    void RunOver(const Outcome& outcome);
    // Shows an experiment read back, on its bench and mode.
    void Show(LoadedExperiment loaded);
    void OnRunEnded(const Outcome& outcome);
    // The bench, mode and card with no run under way, when the room has not been told them yet.
    void TellRoomFree();
    std::string RoomKey() const;
    std::string CardIdentification() const;

    Places m_places;
    WindowProfile m_profile;
    std::shared_ptr<tarvic::IniProfile> m_store;  // the bench's
    std::mutex m_lock;
    Settings m_settings;
    Elements m_elements;
    std::optional<LoadedExperiment> m_kept;
    CardChoice m_cardChoice;
    CardConnection m_card;
    HistoryBase m_history;
    std::string m_startedAt;  // the run's, as the history writes it
    Kept m_lastKept;
    bool m_running = false;
    bool m_job = false;
    bool m_unsaved = false;
    std::string m_toldFree;  // the bench, mode and card (RoomKey) the room last heard of, "" during a run
    // Last: its orders reach the members above from the network's thread.
    publish::RoomReport m_room;
};

}  // namespace banc::window
