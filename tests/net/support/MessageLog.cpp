#include "net/support/MessageLog.h"

#include <mosquitto.h>

#include <atomic>
#include <mutex>

#include "net/support/WaitUntil.h"

namespace tarvic::test {

struct MessageLog::Impl {
    static void Connected(mosquitto* client, void* impl, int code, int sessionPresent)
    {
        // Once only: subscribing again would have the broker send what it retains a second time.
        if (code == 0 && !sessionPresent)
            mosquitto_subscribe(client, nullptr, static_cast<Impl*>(impl)->filter.c_str(), 1);
    }
    static void Subscribed(mosquitto*, void* impl, int, int, const int*)
    {
        auto& self = *static_cast<Impl*>(impl);
        std::lock_guard lock(self.mutex);
        self.ready = true;
    }
    static void Arrived(mosquitto*, void* impl, const mosquitto_message* message)
    {
        auto& self = *static_cast<Impl*>(impl);
        std::lock_guard lock(self.mutex);
        self.messages.emplace_back(message->topic,
                                   std::string(static_cast<const char*>(message->payload), message->payloadlen));
    }

    std::string filter;
    mutable std::mutex mutex;
    std::vector<Message> messages;
    bool ready = false;
    mosquitto* client = nullptr;
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
    mosquitto_lib_init();
    m_impl->filter = filter;
    m_impl->client = mosquitto_new(NextId().c_str(), false, m_impl.get());
    if (!m_impl->client) return;
    mosquitto_int_option(m_impl->client, MOSQ_OPT_PROTOCOL_VERSION, MQTT_PROTOCOL_V311);
    mosquitto_connect_with_flags_callback_set(m_impl->client, Impl::Connected);
    mosquitto_subscribe_callback_set(m_impl->client, Impl::Subscribed);
    mosquitto_message_callback_set(m_impl->client, Impl::Arrived);
    mosquitto_reconnect_delay_set(m_impl->client, 1, 1, false);
    if (!user.empty()) mosquitto_username_pw_set(m_impl->client, user.c_str(), password.c_str());
    if (mosquitto_connect(m_impl->client, "127.0.0.1", port, 60) != MOSQ_ERR_SUCCESS) return;
    if (mosquitto_loop_start(m_impl->client) != MOSQ_ERR_SUCCESS) return;
    WaitUntil([&] { return Ready(); });
}

MessageLog::~MessageLog()
{
    if (!m_impl->client) return;
    mosquitto_disconnect(m_impl->client);
    mosquitto_loop_stop(m_impl->client, true);
    mosquitto_destroy(m_impl->client);
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
