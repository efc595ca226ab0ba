#pragma once

#include <functional>
#include <memory>
#include <string>

#include "engine/history/KeepRun.h"
#include "engine/model/Elements.h"
#include "engine/model/Settings.h"
#include "engine/run/Experiment.h"
#include "net/MqttClient.h"
#include "net/MqttSettings.h"

namespace banc::publish {

// What the console tells the room of its bench, and the orders the room
// gives it: one piece for the command line and the window alike. Off (every
// call does nothing) when the settings name no broker. Every call returns at
// once, whether the broker is there or not; any thread may make them.
class RoomReport {
public:
    // The room's two orders. They run on the network's thread: hand the work
    // over to your own (RequestStop may be called from any thread).
    struct Orders {
        std::function<void()> stop;                            // "arreter": as Ctrl-C or Arreter
        std::function<void(const std::string& text)> message;  // "message", Latin-1
        std::function<void(const std::string& why)> refused;   // an order not read, why (Latin-1)
    };

    // `program` is "tarvic-banc" or "tarvic-banc-fenetre"; `user` the login or --etudiant.
    RoomReport(const net::MqttSettings& mqtt, std::string program, std::string user);
    ~RoomReport();  // the place published offline
    RoomReport(const RoomReport&) = delete;
    RoomReport& operator=(const RoomReport&) = delete;

    bool On() const { return m_place != nullptr; }

    // The bench and mode chosen, no run under way: "libre".
    void Free(const Settings& settings, const std::string& card);
    // A run begins: "essai". The elements give the live values' names and units.
    void RunStarted(const Settings& settings, Elements& elements, const std::string& card);
    // A turn's live values; at most 2 a second reach the room.
    void Live(const LiveValues& values);
    // The run as the history kept it, its archive with it, then the state:
    // "libre" after a complete run, "arret" after an interrupted or failed one.
    void RunEnded(const history::KeptInHistory& kept);
    // A run the history does not keep (a frequency sweep): only the state, as above.
    void RunEnded(const Settings& settings, const Outcome& outcome, const std::string& card);

    // Replaces the handlers of the orders; empty ones ignore theirs. Once it
    // returns, none of the old ones runs any more (it waits for one under
    // way): a handler must not call it.
    void SetOrders(Orders orders);

    net::LinkCounters Counters() const;

private:
    struct Place;
    std::unique_ptr<Place> m_place;
};

}  // namespace banc::publish
