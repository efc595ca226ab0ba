#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "MqttSettings.h"

namespace net {

// How the link to the broker fares, for the status line and the benchmarks.
struct LinkCounters {
    std::uint64_t published = 0;  // handed to Publish
    std::uint64_t delivered = 0;  // acknowledged by the broker (or written, at QoS 0)
    std::uint64_t dropped = 0;    // thrown away because the buffer was full, oldest first
    std::uint64_t buffered = 0;   // waiting for the broker now
    bool connected = false;
    std::string lastError;  // the last connection failure, French (Latin-1), "" none
};

// One connection to the broker that never stands in the caller's way:
// every call returns at once, whether the broker is up, down, slow or
// refusing. It reconnects by itself; messages wait in a bounded buffer meanwhile.
class MqttClient {
public:
    struct Will {
        std::string topic;
        std::string payload;
        bool retained = true;
    };
    using MessageHandler = std::function<void(const std::string& topic, const std::string& payload)>;

    // `clientId` unique per program and place. Connecting starts at once, in the background.
    MqttClient(const MqttSettings& settings, std::string clientId, Will will);
    ~MqttClient();  // waits up to a second for what is unacknowledged, then closes cleanly (no will)
    MqttClient(const MqttClient&) = delete;
    MqttClient& operator=(const MqttClient&) = delete;

    // At least once (QoS 1): the broker acknowledges it, and it goes out again
    // if the connection is lost first. At most once (QoS 0): written and done,
    // for what the next publication replaces within a second; it still waits
    // while the broker is away.
    enum class Qos { AtLeastOnce, AtMostOnce };
    // Never blocks; counted as dropped when the buffer overflows.
    void Publish(const std::string& topic, const std::string& payload, bool retained, Qos qos = Qos::AtLeastOnce);
    // Kept across reconnections. The handler runs on a thread of the client's, one call at a
    // time, in order; it may publish and take the locks its publishers hold.
    // `kept`: also what the broker kept (retained) from before the
    // subscription; orders take only what is published while they listen.
    enum class Kept { Taken, Ignored };
    void Subscribe(const std::string& filter, MessageHandler handler, Kept kept = Kept::Taken);
    // Called on the client's thread after every (re)connection: republish what is retained.
    // Given when the client is connected already, it is also called at once, on the caller's thread.
    void OnConnected(std::function<void()> handler);
    // Called on the client's thread on each connection failure, with why, in French (Latin-1):
    // the host unreachable, the broker refusing the user or password, TLS failing (naming which).
    void OnFailure(std::function<void(const std::string& why)> handler);

    LinkCounters Counters() const;

private:
    struct Impl;
    std::unique_ptr<Impl> m_impl;
};

}  // namespace net
