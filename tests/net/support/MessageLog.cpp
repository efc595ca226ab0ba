#include "net/support/MessageLog.h"

#include <mqtt/async_client.h>

#include <atomic>
#include <chrono>
#include <mutex>

#include "net/support/WaitUntil.h"

namespace tarvic::test {

struct MessageLog::Impl {
    mutable std::mutex mutex;
    std::vector<Message> messages;
    bool ready = false;
    std::unique_ptr<mqtt::async_client> client;  // last: stopped before the rest goes
};

namespace {

std::string NextId()
{
    static std::atomic<int> count{0};
    return "journal-de-test-" + std::to_string(count++);
}

}  // namespace

MessageLog::MessageLog(int port, const std::string& filter, const std::string& user, const std::string& password)
    : m_impl(std::make_unique<Impl>())
{
    try {
        m_impl->client = std::make_unique<mqtt::async_client>("tcp://127.0.0.1:" + std::to_string(port), NextId());
        m_impl->client->set_message_callback([impl = m_impl.get()](mqtt::const_message_ptr message) {
            std::lock_guard lock(impl->mutex);
            impl->messages.emplace_back(message->get_topic(), message->to_string());
        });
        mqtt::connect_options_builder options;
        options.clean_session(false).automatic_reconnect(std::chrono::milliseconds(100), std::chrono::seconds(1));
        if (!user.empty()) options.user_name(user).password(password);
        const auto limit = std::chrono::seconds(20);
        if (!m_impl->client->connect(options.finalize())->wait_for(limit)) return;
        if (!m_impl->client->subscribe(filter, 1)->wait_for(limit)) return;
        std::lock_guard lock(m_impl->mutex);
        m_impl->ready = true;
    } catch (const mqtt::exception&) {
        // Not ready: the test says so.
    }
}

MessageLog::~MessageLog()
{
    if (!m_impl->client) return;
    try {
        m_impl->client->disconnect()->wait_for(std::chrono::seconds(2));
    } catch (const mqtt::exception&) {
        // Already gone.
    }
}

bool MessageLog::Ready() const
{
    std::lock_guard lock(m_impl->mutex);
    return m_impl->ready;
}

std::vector<MessageLog::Message> MessageLog::Messages() const
{
    std::lock_guard lock(m_impl->mutex);
    return m_impl->messages;
}

std::vector<std::string> MessageLog::Payloads() const
{
    std::vector<std::string> payloads;
    for (const auto& message : Messages()) payloads.push_back(message.second);
    return payloads;
}

bool MessageLog::WaitFor(std::size_t count) const
{
    return WaitUntil([&] { return Messages().size() >= count; });
}

}  // namespace tarvic::test
