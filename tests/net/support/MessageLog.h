#pragma once

#include <cstddef>
#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace tarvic::test {

// A subscriber of the test's own, written straight on the MQTT library (not
// on ours, which it checks): every message under a filter, in arrival order.
// Its session is durable: the broker keeps what comes for it while it is away,
// across the broker's own restarts.
class MessageLog {
public:
    using Message = std::pair<std::string, std::string>;  // topic, payload

    MessageLog(int port, const std::string& filter, const std::string& user = "", const std::string& password = "");
    ~MessageLog();
    MessageLog(const MessageLog&) = delete;
    MessageLog& operator=(const MessageLog&) = delete;

    // Connected and subscribed.
    bool Ready() const;
    std::vector<Message> Messages() const;
    std::vector<std::string> Payloads() const;
    // Until `count` messages came (generous limit); whether they did.
    bool WaitFor(std::size_t count) const;

private:
    struct Impl;
    std::unique_ptr<Impl> m_impl;
};

}  // namespace tarvic::test
