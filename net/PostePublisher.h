#pragma once

#include <functional>
#include <memory>
#include <string>

#include "MqttClient.h"
#include "Payloads.h"

namespace net {

// What a console or a panel publishes about its place, and the orders it
// takes from the room. Every call returns at once (see MqttClient).
class PostePublisher {
public:
    // `program` and `version` go into every state. The connection is made at
    // the first publication: its will is the first state, said Offline.
    PostePublisher(const MqttSettings& settings, PosteKind kind, std::string program, std::string version);
    ~PostePublisher();  // publishes Offline, then closes

    // Retained, and published again after every reconnection.
    void PublishState(PosteState state);
    // At most 2 a second: a call closer than 500 ms to the last one sent is
    // dropped, and `measuresNow` is called only for those that go, so that a
    // caller offering every sample builds none of the others.
    void PublishMeasures(const std::function<Measures()>& measuresNow);
    void PublishRun(RunEnd run);
    // On change only, and at most once a second (the last change is sent when the second is up).
    void PublishStation(StationBits bits);

    // Orders read from tarvic/<salle>/<poste>/ordre; refused payloads go to `refused` with why.
    // Both run on the client's thread: hand them over to your own.
    void OnOrder(std::function<void(const Order&)> handler, std::function<void(const std::string& why)> refused);

    LinkCounters Counters() const;

private:
    struct Impl;
    std::unique_ptr<Impl> m_impl;
};

}  // namespace net
