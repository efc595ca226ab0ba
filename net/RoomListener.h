#pragma once

#include <functional>
#include <memory>
#include <string>

#include "MqttClient.h"
#include "Payloads.h"
#include "Topics.h"

namespace net {

// The teacher's side: every place of a room (or of every room) as it reports,
// and the two orders the room may give.
class RoomListener {
public:
    struct Handlers {
        std::function<void(const Poste&, const PosteState&)> state;
        std::function<void(const Poste&, const Measures&)> measures;
        std::function<void(const Poste&, const RunEnd&)> run;
        std::function<void(const Poste&, const StationBits&)> station;
        // A payload that could not be read, with why (Latin-1): shown, never used.
        std::function<void(const Poste&, const std::string& topic, const std::string& why)> unreadable;
    };
    // settings.poste.salle: the room to watch, "" every room. Handlers run on the client's thread.
    RoomListener(const MqttSettings& settings, Handlers handlers);
    ~RoomListener();

    void Send(const Poste& poste, const Order& order);

    LinkCounters Counters() const;

private:
    struct Impl;
    std::unique_ptr<Impl> m_impl;
};

}  // namespace net
