#include "net/MqttClient.h"

#include <netdb.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <mqtt/async_client.h>

#include <cerrno>

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <utility>
#include <vector>

#include "net/CallQueue.h"
#include "net/Latin1.h"

namespace net {
namespace {

constexpr int kQos = 1;
constexpr auto kKeepAlive = std::chrono::seconds(10);
constexpr auto kConnectTimeout = std::chrono::seconds(5);
constexpr auto kFirstRetry = std::chrono::seconds(1);
constexpr auto kLongestRetry = std::chrono::seconds(8);
constexpr auto kClosingTime = std::chrono::milliseconds(1000);
constexpr int kProbeMs = 1000;

// MQTT 3.1.1 connection refusals (CONNACK return codes).
constexpr int kBadUserOrPassword = 4;
constexpr int kNotAuthorised = 5;

// '+' stands for one level, '#' for all that follow.
bool Matches(const std::string& filter, const std::string& topic)
{
    std::size_t f = 0, t = 0;
    while (f < filter.size()) {
        if (filter[f] == '#') return true;
        if (filter[f] == '+') {
            while (t < topic.size() && topic[t] != '/') ++t;
            ++f;
        } else {
            if (t >= topic.size() || filter[f] != topic[t]) return false;
            ++f;
            ++t;
        }
    }
    return t == topic.size();
}

// Whether something listens on the broker's port: the TLS handshake failed, not the network.
bool Answers(const std::string& host, int port)
{
    addrinfo hints{};
    hints.ai_socktype = SOCK_STREAM;
    addrinfo* found = nullptr;
    if (::getaddrinfo(host.c_str(), std::to_string(port).c_str(), &hints, &found) != 0) return false;
    bool answers = false;
    for (const addrinfo* address = found; address && !answers; address = address->ai_next) {
        const int fd = ::socket(address->ai_family, address->ai_socktype | SOCK_NONBLOCK, address->ai_protocol);
        if (fd < 0) continue;
        if (::connect(fd, address->ai_addr, address->ai_addrlen) == 0) {
            answers = true;
        } else if (errno == EINPROGRESS) {
            pollfd connecting{fd, POLLOUT, 0};
            int error = 0;
            socklen_t length = sizeof error;
            answers = ::poll(&connecting, 1, kProbeMs) == 1 &&
                      ::getsockopt(fd, SOL_SOCKET, SO_ERROR, &error, &length) == 0 && error == 0;
        }
        ::close(fd);
    }
    ::freeaddrinfo(found);
    return answers;
}

std::string Address(const MqttSettings& settings)
{
    const bool ipv6 = settings.host.find(':') != std::string::npos;
    return (settings.caFile.empty() ? "tcp://" : "ssl://") + (ipv6 ? "[" + settings.host + "]" : settings.host) + ":" +
           std::to_string(settings.port);
}

}  // namespace

struct MqttClient::Impl {
    // Counts every publication's outcome, on Paho's thread.
    struct Delivery : mqtt::iaction_listener {
        explicit Delivery(Impl& impl) : impl(impl) {}
        void on_success(const mqtt::token&) override { impl.Count(&LinkCounters::delivered); }
        void on_failure(const mqtt::token&) override { impl.Count(&LinkCounters::dropped); }
        Impl& impl;
    };
    // Tells why a connection attempt failed.
    struct Connection : mqtt::iaction_listener {
        explicit Connection(Impl& impl) : impl(impl) {}
        void on_success(const mqtt::token&) override {}
        void on_failure(const mqtt::token& token) override
        {
            impl.calls.Post([&impl = impl, code = token.get_return_code()] { impl.Failed(code); });
        }
        Impl& impl;
    };

    Impl(const MqttSettings& settings, std::string clientId, Will will)
        : settings(settings), bound(std::max(1, settings.bufferBound)), address(Address(settings)),
          clientId(std::move(clientId)), will(std::move(will))
    {
    }

    void Start();
    void Count(std::uint64_t LinkCounters::* counter)
    {
        {
            std::lock_guard lock(mutex);
            ++(counters.*counter);
        }
        settled.notify_all();
    }
    // Until the broker has acknowledged all that was published, or `longest` is up.
    void WaitSettled(std::chrono::milliseconds longest)
    {
        std::unique_lock lock(mutex);
        settled.wait_for(lock, longest, [this] {
            return !counters.connected || counters.published == counters.delivered + counters.dropped;
        });
    }
    void Failed(int code);
    void Connected();
    void Arrived(const mqtt::const_message_ptr& message);
    mqtt::connect_options Options();

    const MqttSettings settings;
    const int bound;  // Paho wants one at least
    const std::string address;
    const std::string clientId;
    const Will will;

    std::mutex publishing;  // one publication at a time, so that the count of what waits is right
    mutable std::mutex mutex;
    std::condition_variable settled;  // a publication's outcome is known
    LinkCounters counters;
    struct Subscription {
        std::string filter;
        MessageHandler handler;
        Kept kept;
    };
    std::vector<Subscription> subscriptions;
    std::vector<std::function<void()>> connectedHandlers;
    std::vector<std::function<void(const std::string&)>> failureHandlers;

    Delivery delivery{*this};
    Connection connection{*this};
    // Where the handlers run: never on Paho's threads, which hold its lock.
    CallQueue calls;
    // Last, so that it goes first: no callback of Paho's outlives what it calls.
    std::unique_ptr<mqtt::async_client> client;
};

mqtt::connect_options MqttClient::Impl::Options()
{
    mqtt::connect_options_builder builder;
    builder.mqtt_version(MQTTVERSION_3_1_1)
        .clean_session(true)
        .keep_alive_interval(kKeepAlive)
        .connect_timeout(kConnectTimeout)
        .automatic_reconnect(kFirstRetry, kLongestRetry);
    if (!will.topic.empty()) builder.will(mqtt::message(will.topic, will.payload, kQos, will.retained));
    if (!settings.user.empty()) builder.user_name(ToUtf8(settings.user)).password(settings.password);
    // No error handler: Paho would call it back through a copy of the options that is gone by then.
    if (!settings.caFile.empty())
        builder.ssl(mqtt::ssl_options_builder()
                        .trust_store(settings.caFile)
                        .enable_server_cert_auth(true)
                        .verify(true)
                        .finalize());
    return builder.finalize();
}

void MqttClient::Impl::Start()
{
    try {
        mqtt::create_options create(MQTTVERSION_3_1_1, bound);
        create.set_send_while_disconnected(true, true);
        create.set_delete_oldest_messages(true);
        create.set_restore_messages(false);
        client = std::make_unique<mqtt::async_client>(address, clientId, create, nullptr);
        client->set_connected_handler([this](const std::string&) { Connected(); });
        client->set_connection_lost_handler([this](const std::string&) {
            {
                std::lock_guard lock(mutex);
                counters.connected = false;
            }
            settled.notify_all();  // nothing more will be acknowledged
        });
        client->set_message_callback(
            [this](mqtt::const_message_ptr message) { calls.Post([this, message] { Arrived(message); }); });
        client->connect(Options(), nullptr, connection);
    } catch (const mqtt::exception& error) {
        Failed(error.get_return_code());
    }
}

void MqttClient::Impl::Failed(int code)
{
    // Before taking the lock: a publication must not wait for the probe.
    const bool refusedAccount = code == kBadUserOrPassword || code == kNotAuthorised;
    const bool tlsFailed = !refusedAccount && !settings.caFile.empty() && Answers(settings.host, settings.port);
    std::string why;
    std::vector<std::function<void(const std::string&)>> handlers;
    {
        std::lock_guard lock(mutex);
        const std::string broker = settings.host + ":" + std::to_string(settings.port);
        if (refusedAccount && settings.user.empty())
            why = "Authentification refus\xE9" "e par le courtier MQTT " + broker +
                  " : il demande un utilisateur et un mot de passe (--mqtt-utilisateur, --mqtt-mdp).";
        else if (refusedAccount)
            why = "Authentification refus\xE9" "e par le courtier MQTT " + broker + " : utilisateur \xAB " +
                  settings.user + " \xBB ou mot de passe refus\xE9.";
        else if (tlsFailed)
            why = "\xC9" "chec TLS avec le courtier MQTT " + broker + " : il n'est pas reconnu par l'autorit\xE9 " +
                  settings.caFile + ", ou ne parle pas TLS sur ce port.";
        else
            why = "Courtier MQTT injoignable : " + broker + ".";
        counters.connected = false;
        counters.lastError = why;
        handlers = failureHandlers;
    }
    for (const auto& handler : handlers) handler(why);
}

void MqttClient::Impl::Connected()
{
    std::vector<Subscription> filters;
    std::vector<std::function<void()>> handlers;
    {
        std::lock_guard lock(mutex);
        counters.connected = true;
        counters.lastError.clear();
        filters = subscriptions;
        handlers = connectedHandlers;
    }
    // Each connection starts a clean session: the subscriptions are made again,
    // here, before Paho sends what waited, so that whoever sees this place's
    // first message may give it an order.
    try {
        for (const Subscription& subscription : filters) client->subscribe(subscription.filter, kQos);
    } catch (const mqtt::exception&) {
        // Lost again already: the next connection subscribes.
    }
    calls.Post([handlers = std::move(handlers)] {
        for (const auto& handler : handlers) handler();
    });
}

void MqttClient::Impl::Arrived(const mqtt::const_message_ptr& message)
{
    if (!message) return;
    const std::string& topic = message->get_topic();
    std::vector<MessageHandler> handlers;
    {
        std::lock_guard lock(mutex);
        for (const Subscription& subscription : subscriptions)
            if (Matches(subscription.filter, topic) && !(message->is_retained() && subscription.kept == Kept::Ignored))
                handlers.push_back(subscription.handler);
    }
    for (const auto& handler : handlers) handler(topic, message->to_string());
}

MqttClient::MqttClient(const MqttSettings& settings, std::string clientId, Will will)
    : m_impl(std::make_unique<Impl>(settings, std::move(clientId), std::move(will)))
{
    m_impl->Start();
}

MqttClient::~MqttClient()
{
    m_impl->calls.Stop();  // no handler runs while the link closes
    if (!m_impl->client) return;
    // Paho's own wait for the last acknowledgements only ends on its
    // one-second rounds, two of them at least: the client waits for them
    // itself, then closes without waiting.
    m_impl->WaitSettled(kClosingTime);
    try {
        // A clean close: the broker keeps the will to itself.
        m_impl->client->disconnect(0)->wait_for(kClosingTime);
    } catch (const mqtt::exception&) {
        // Not connected: nothing to close.
    }
}

void MqttClient::Publish(const std::string& topic, const std::string& payload, bool retained)
{
    std::lock_guard order(m_impl->publishing);
    {
        // Paho throws the oldest away without a word when its buffer is full: count it here.
        std::lock_guard lock(m_impl->mutex);
        LinkCounters& counters = m_impl->counters;
        if (counters.published - counters.delivered - counters.dropped >= static_cast<std::uint64_t>(m_impl->bound))
            ++counters.dropped;
        ++counters.published;
    }
    if (!m_impl->client) {
        m_impl->Count(&LinkCounters::dropped);
        return;
    }
    try {
        m_impl->client->publish(mqtt::make_message(topic, payload, kQos, retained), nullptr, m_impl->delivery);
    } catch (const mqtt::exception&) {
        m_impl->Count(&LinkCounters::dropped);
    }
}

void MqttClient::Subscribe(const std::string& filter, MessageHandler handler, Kept kept)
{
    bool connected = false;
    {
        std::lock_guard lock(m_impl->mutex);
        m_impl->subscriptions.push_back({filter, std::move(handler), kept});
        connected = m_impl->counters.connected;
    }
    if (!connected || !m_impl->client) return;
    try {
        m_impl->client->subscribe(filter, kQos);
    } catch (const mqtt::exception&) {
        // Lost meanwhile: the next connection subscribes.
    }
}

void MqttClient::OnConnected(std::function<void()> handler)
{
    bool connected = false;
    {
        std::lock_guard lock(m_impl->mutex);
        m_impl->connectedHandlers.push_back(handler);
        connected = m_impl->counters.connected;
    }
    // Connected before the handler came: it would wait for the next connection.
    if (connected) handler();
}

void MqttClient::OnFailure(std::function<void(const std::string& why)> handler)
{
    std::lock_guard lock(m_impl->mutex);
    m_impl->failureHandlers.push_back(std::move(handler));
}

LinkCounters MqttClient::Counters() const
{
    std::lock_guard lock(m_impl->mutex);
    LinkCounters counters = m_impl->counters;
    counters.buffered = counters.published - counters.delivered - counters.dropped;
    return counters;
}

}  // namespace net
