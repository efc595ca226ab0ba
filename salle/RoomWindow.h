#pragma once

#include <QMainWindow>
#include <QPointer>

#include <chrono>
#include <functional>
#include <map>
#include <set>
#include <string>

#include "engine/history/RunHistory.h"
#include "net/MqttClient.h"
#include "net/RoomListener.h"
#include "salle/Room.h"

class QAction;
class QGroupBox;
class QLabel;
class QVBoxLayout;

namespace banc::window {
class FlowLayout;
}

namespace salle {

class DetailsDialog;
class RoomPrompts;
class Tile;

// The teacher's view of the room: a tile per bench or station heard, grouped
// by room, kept up to date as they publish; the orders Arreter and Message
// for one place, Tout arreter for all, each after a confirmation; every run
// heard kept in the history.
class RoomWindow : public QMainWindow {
    Q_OBJECT

public:
    struct Links {
        // Hands an order to the broker; returns at once.
        std::function<void(const net::Poste&, const net::Order&)> send;
        // How the link fares, for the status bar; none without a broker.
        std::function<net::LinkCounters()> counters;
        std::string broker;  // "localhost:1883", for the status bar
    };
    struct Options {
        std::chrono::seconds silence{10};
        std::string historyPath;  // "" the room's own base (RoomHistoryPath)
        std::string watched;      // the room watched, "" every room
    };

    RoomWindow(RoomPrompts& prompts, Links links, Options options, QWidget* parent = nullptr);
    ~RoomWindow() override;

    // What the listener tells, on the listener's thread: handed over to this window's.
    net::RoomListener::Handlers Handlers();

    // On this window's thread.
    void Heard(const net::Poste& poste, const net::PosteState& state);
    void Heard(const net::Poste& poste, const net::Measures& measures);
    void Heard(const net::Poste& poste, const net::RunEnd& run);
    void Heard(const net::Poste& poste, const net::StationBits& bits);
    void Unreadable(const net::Poste& poste, const std::string& topic, const std::string& why);

    // The time silences are counted on; the steady clock unless a test sets its own.
    void SetClock(std::function<Clock::time_point()> clock) { m_clock = std::move(clock); }
    // The tiles and the status again, as the clock now says (every second).
    void Refresh();

    void AskStop(const net::Poste& poste);
    void AskMessage(const net::Poste& poste);
    void AskStopAll();
    DetailsDialog* OpenDetails(const net::Poste& poste);

    const Room& Places() const { return m_room; }
    Tile* TileOf(const net::Poste& poste) const;
    QGroupBox* GroupOf(const std::string& salle) const;
    DetailsDialog* DetailsOf(const net::Poste& poste) const;
    QAction* StopAllAction() const { return m_stopAll; }
    QLabel* LinkStatus() const { return m_link; }
    QLabel* HistoryStatus() const { return m_kept; }
    const std::string& HistoryPath() const { return m_historyPath; }

private:
    void Changed(const Place& place);
    Tile* MakeTile(const Place& place);
    void Keep(Place& place);
    void Send(const net::Poste& poste, const net::Order& order, const std::string& done);
    void ShowLink();
    void ShowKept();

    RoomPrompts& m_prompts;
    Links m_links;
    Options m_options;
    std::function<Clock::time_point()> m_clock;
    Room m_room;
    banc::history::RunHistory m_history;
    std::string m_historyPath;
    std::string m_historyError;      // why the base could not be opened, "" when it was
    std::set<long long> m_runsKept;  // the numbers of the runs kept since the window opened
    QVBoxLayout* m_rooms;
    std::map<std::string, QGroupBox*> m_groups;
    std::map<std::string, banc::window::FlowLayout*> m_flows;
    std::map<Room::Key, Tile*> m_tiles;
    std::map<Room::Key, QPointer<DetailsDialog>> m_details;
    QAction* m_stopAll;
    QLabel* m_link;
    QLabel* m_kept;
};

}  // namespace salle
