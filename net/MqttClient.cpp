#include "net/MqttClient.h"

#include <mosquitto.h>
#include <poll.h>
#include <sys/eventfd.h>
#include <unistd.h>

#include <cerrno>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <deque>
#include <mutex>
#include <thread>
#include <utility>
#include <vector>

#include "net/BrokerRefusal.h"
#include "net/CallQueue.h"
#include "net/Latin1.h"
#include "net/PortProbe.h"

namespace net {
namespace {

using Clock = std::chrono::steady_clock;

// The broker drops a client silent for 1.5 keep-alives; the link looks at
// its keep-alive every quarter, so that a ping is never late.
constexpr int kKeepAliveSeconds = 20;
constexpr auto kKeepAliveCheck = std::chrono::seconds(kKeepAliveSeconds) / 4;
constexpr auto kConnectTimeout = std::chrono::seconds(5);
constexpr auto kFirstRetry = std::chrono::seconds(1);
constexpr auto kLongestRetry = std::chrono::seconds(8);
constexpr auto kClosingTime = std::chrono::milliseconds(1000);
constexpr auto kProbeTime = std::chrono::seconds(1);

// MQTT 3.1.1 connection refusals (CONNACK return codes).
constexpr int kBadUserOrPassword = 4;
constexpr int kNotAuthorised = 5;
constexpr int kNoConnack = -1;

void InitialiseLibrary()
{
    [[maybe_unused]] static const bool initialised = [] { return mosquitto_lib_init() == MOSQ_ERR_SUCCESS; }();
}

bool Matches(const std::string& filter, const std::string& topic)
{
    bool matches = false;
    return mosquitto_topic_matches_sub(filter.c_str(), topic.c_str(), &matches) == MOSQ_ERR_SUCCESS && matches;
}

int MillisecondsUntil(Clock::time_point when)
{
    const auto left = std::chrono::ceil<std::chrono::milliseconds>(when - Clock::now()).count();
    return static_cast<int>(std::max<decltype(left)>(left, 0));
}

}  // namespace

struct MqttClient::Impl {
    struct Message {
        std::string topic;
        std::string payload;
        bool retained = false;
        Qos qos = Qos::AtLeastOnce;
    };
    struct Subscription {
        std::string filter;
        MessageHandler handler;
        Kept kept;
    };
    // What the library's callbacks report.
    struct WireEvents {
        int connack = kNoConnack;
        std::vector<int> delivered;
        std::vector<Message> arrived;
    };

    // The library's callbacks: they run inside its calls, `wire` held.
    static void OnConnack(mosquitto*, void* impl, int code);
    static void OnPublished(mosquitto*, void* impl, int mid);
    static void OnMessage(mosquitto*, void* impl, const mosquitto_message* message);

    Impl(const MqttSettings& settings, std::string clientId, Will will)
        : settings(settings), bound(static_cast<std::size_t>(std::max(1, settings.bufferBound))),
          clientId(std::move(clientId)), will(std::move(will)), wake(::eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC))
    {
        InitialiseLibrary();
    }
    ~Impl()
    {
        if (wake >= 0) ::close(wake);
    }

    void Run();
    bool Serve(mosquitto* connection, Refusal& refusal);
    mosquitto* Open(Refusal& refusal);
    void Accepted();
    void Close();
    void Failed(Refusal refusal);
    void Wake() const
    {
        const std::uint64_t one = 1;
        [[maybe_unused]] const auto written = ::write(wake, &one, sizeof one);
    }
    void Drain() const
    {
        std::uint64_t count = 0;
        [[maybe_unused]] const auto read = ::read(wake, &count, sizeof count);
    }
    bool Rest(std::chrono::milliseconds pause);
    // Under `mutex`: what waits goes to the library, in order, as far as the bound lets it.
    void Flush();
    // Under `mutex` and `wire`: false when the connection is gone and the message waits again.
    bool HandOver(Message& message);
    // Under `wire`, after writing on the caller's thread.
    void WriteTheRestLater() const;
    WireEvents TakeEvents()
    {
        WireEvents taken = std::move(events);
        events = {};
        return taken;
    }
    // Under `mutex`.
    void Apply(WireEvents taken);
    void Drop(std::size_t beyond);
    void WaitSettled(std::chrono::milliseconds longest)
    {
        std::unique_lock lock(mutex);
        settled.wait_for(lock, longest, [this] {
            return !counters.connected || counters.published == counters.delivered + counters.dropped;
        });
    }

    const MqttSettings settings;
    const std::size_t bound;
    const std::string clientId;
    const Will will;

    // Lock order: `mutex`, then `wire`.
    mutable std::mutex mutex;
    std::condition_variable settled;  // a publication's outcome is known
    LinkCounters counters;
    std::deque<Message> waiting;                     // not handed to the library yet, oldest first
    std::deque<std::pair<int, Message>> handedOver;  // by message id, until written (QoS 0) or acknowledged
    std::vector<Subscription> subscriptions;
    std::vector<std::function<void()>> connectedHandlers;
    std::vector<std::function<void(const std::string&)>> failureHandlers;

    std::mutex wire;
    mosquitto* connection = nullptr;  // while the broker has accepted it
    WireEvents events;

    const int wake;  // an eventfd: stop, or write what the socket could not take at once
    std::atomic<bool> closing{false};
    // Where the handlers run: never inside the library's calls.
    CallQueue calls;
    std::thread thread;  // last: it starts once the members above are there
};

void MqttClient::Impl::OnConnack(mosquitto*, void* impl, int code) { static_cast<Impl*>(impl)->events.connack = code; }

void MqttClient::Impl::OnPublished(mosquitto*, void* impl, int mid)
{
    static_cast<Impl*>(impl)->events.delivered.push_back(mid);
}

void MqttClient::Impl::OnMessage(mosquitto*, void* impl, const mosquitto_message* message)
{
    if (!message || !message->topic) return;
    const char* bytes = static_cast<const char*>(message->payload);
    const std::size_t size = bytes ? static_cast<std::size_t>(message->payloadlen) : 0;
    static_cast<Impl*>(impl)->events.arrived.push_back(
        {message->topic, std::string(bytes ? bytes : "", size), message->retain, Qos::AtLeastOnce});
}

mosquitto* MqttClient::Impl::Open(Refusal& refusal)
{
    refusal = Refusal::Unreachable;
    // The library's own connection waits as long as the system lets it.
    if (!Answers(settings.host, settings.port, kProbeTime)) return nullptr;
    mosquitto* opened = mosquitto_new(clientId.c_str(), true, this);
    if (!opened) return nullptr;
    mosquitto_int_option(opened, MOSQ_OPT_PROTOCOL_VERSION, MQTT_PROTOCOL_V311);
    mosquitto_connect_callback_set(opened, OnConnack);
    mosquitto_publish_callback_set(opened, OnPublished);
    mosquitto_message_callback_set(opened, OnMessage);
    bool ready = true;
    if (!will.topic.empty())
        ready = mosquitto_will_set(opened, will.topic.c_str(), static_cast<int>(will.payload.size()),
                                   will.payload.data(), 1, will.retained) == MOSQ_ERR_SUCCESS;
    if (ready && !settings.user.empty())
        ready = mosquitto_username_pw_set(opened, ToUtf8(settings.user).c_str(),
                                          settings.password.empty() ? nullptr : settings.password.c_str()) ==
                MOSQ_ERR_SUCCESS;
    if (ready && !settings.caFile.empty()) {
        ready =
            mosquitto_tls_set(opened, settings.caFile.c_str(), nullptr, nullptr, nullptr, nullptr) == MOSQ_ERR_SUCCESS;
        if (!ready) refusal = Refusal::Tls;
    }
    if (ready) {
        const int code = mosquitto_connect(opened, settings.host.c_str(), settings.port, kKeepAliveSeconds);
        if (code == MOSQ_ERR_TLS) refusal = Refusal::Tls;
        ready = code == MOSQ_ERR_SUCCESS;
    }
    if (ready) return opened;
    mosquitto_destroy(opened);
    return nullptr;
}

// One connection, from the broker's answer until it is lost or closed;
// whether the broker accepted it, else why not in `refusal`.
bool MqttClient::Impl::Serve(mosquitto* opened, Refusal& refusal)
{
    const Clock::time_point deadline = Clock::now() + kConnectTimeout;
    bool accepted = false;
    for (;;) {
        pollfd watched[2] = {{mosquitto_socket(opened), POLLIN, 0}, {wake, POLLIN, 0}};
        {
            std::lock_guard lock(wire);
            if (mosquitto_want_write(opened)) watched[0].events |= POLLOUT;
        }
        const int timeout = accepted ? static_cast<int>(std::chrono::milliseconds(kKeepAliveCheck).count())
                                     : MillisecondsUntil(deadline);
        if (::poll(watched, 2, timeout) < 0 && errno != EINTR) return accepted;
        if (watched[1].revents & POLLIN) Drain();
        if (closing) {
            std::lock_guard lock(wire);
            if (accepted) mosquitto_disconnect(opened);  // a clean close: the broker keeps the will to itself
            return accepted;
        }
        int code = MOSQ_ERR_SUCCESS;
        WireEvents taken;
        {
            std::lock_guard lock(wire);
            if (watched[0].revents & (POLLIN | POLLERR | POLLHUP)) code = mosquitto_loop_read(opened, 1);
            if (code == MOSQ_ERR_SUCCESS && mosquitto_want_write(opened)) code = mosquitto_loop_write(opened, 1);
            if (code == MOSQ_ERR_SUCCESS) code = mosquitto_loop_misc(opened);
            taken = TakeEvents();
        }
        if (taken.connack != kNoConnack) {
            if (taken.connack != 0) {
                refusal = taken.connack == kBadUserOrPassword || taken.connack == kNotAuthorised ? Refusal::Account
                                                                                                 : Refusal::Unreachable;
                return false;
            }
            {
                std::lock_guard lock(wire);
                connection = opened;
            }
            Accepted();
            accepted = true;
        }
        {
            std::lock_guard lock(mutex);
            Apply(std::move(taken));
        }
        if (code != MOSQ_ERR_SUCCESS) {
            refusal = code == MOSQ_ERR_TLS ? Refusal::Tls : Refusal::Unreachable;
            return accepted;
        }
        if (!accepted && Clock::now() >= deadline) return false;
    }
}

// The broker took the connection: subscribe, then send what waited, before
// any publication made meanwhile, so that whoever sees this place's first
// message may give it an order.
void MqttClient::Impl::Accepted()
{
    std::vector<std::function<void()>> handlers;
    {
        std::lock_guard lock(mutex);
        {
            std::lock_guard onWire(wire);
            for (const Subscription& subscription : subscriptions)
                mosquitto_subscribe(connection, nullptr, subscription.filter.c_str(), 1);
        }
        counters.connected = true;
        counters.lastError.clear();
        Flush();
        handlers = connectedHandlers;
    }
    calls.Post([handlers = std::move(handlers)] {
        for (const auto& handler : handlers) handler();
    });
}

// What was handed over and not confirmed goes back ahead of what waits, to
// go out again on the next connection.
void MqttClient::Impl::Close()
{
    {
        std::lock_guard lock(mutex);
        counters.connected = false;
        for (auto given = handedOver.rbegin(); given != handedOver.rend(); ++given)
            waiting.push_front(std::move(given->second));
        handedOver.clear();
        Drop(bound);
        std::lock_guard onWire(wire);
        connection = nullptr;
        events = {};
    }
    settled.notify_all();  // nothing more will be acknowledged
}

void MqttClient::Impl::Run()
{
    std::chrono::milliseconds pause{0};  // none before the first attempt, nor after a loss
    while (Rest(pause)) {
        Refusal refusal = Refusal::Unreachable;
        bool accepted = false;
        if (mosquitto* opened = Open(refusal)) {
            accepted = Serve(opened, refusal);
            Close();
            std::lock_guard lock(wire);
            mosquitto_destroy(opened);
        }
        if (closing) return;
        if (accepted) {
            pause = {};
        } else {
            Failed(refusal);
            pause = pause.count() == 0 ? std::chrono::milliseconds(kFirstRetry)
                                       : std::min<std::chrono::milliseconds>(pause * 2, kLongestRetry);
        }
    }
}

// False when the client closes meanwhile.
bool MqttClient::Impl::Rest(std::chrono::milliseconds pause)
{
    const Clock::time_point until = Clock::now() + pause;
    while (!closing && Clock::now() < until) {
        pollfd watched{wake, POLLIN, 0};
        if (::poll(&watched, 1, MillisecondsUntil(until)) > 0) Drain();
    }
    return !closing;
}

void MqttClient::Impl::Failed(Refusal refusal)
{
    const std::string why = RefusalText(refusal, settings);
    std::vector<std::function<void(const std::string&)>> handlers;
    {
        std::lock_guard lock(mutex);
        counters.lastError = why;
        handlers = failureHandlers;
    }
    calls.Post([handlers = std::move(handlers), why] {
        for (const auto& handler : handlers) handler(why);
    });
}

bool MqttClient::Impl::HandOver(Message& message)
{
    int mid = 0;
    const int qos = message.qos == Qos::AtMostOnce ? 0 : 1;
    const int code =
        mosquitto_publish(connection, &mid, message.topic.c_str(), static_cast<int>(message.payload.size()),
                          message.payload.data(), qos, message.retained);
    if (code == MOSQ_ERR_NO_CONN || code == MOSQ_ERR_CONN_LOST || code == MOSQ_ERR_ERRNO) return false;
    if (code == MOSQ_ERR_SUCCESS)
        handedOver.emplace_back(mid, std::move(message));
    else
        ++counters.dropped;  // refused for itself (too large, a bad topic): sending it again would not help
    return true;
}

void MqttClient::Impl::Flush()
{
    std::lock_guard onWire(wire);
    while (connection && !waiting.empty() && handedOver.size() < bound) {
        if (!HandOver(waiting.front())) break;
        waiting.pop_front();
    }
    WriteTheRestLater();
    Apply(TakeEvents());
}

void MqttClient::Impl::WriteTheRestLater() const
{
    // The socket took only part of it: the link's thread writes the rest when it can.
    if (connection && mosquitto_want_write(connection)) Wake();
}

void MqttClient::Impl::Drop(std::size_t beyond)
{
    while (waiting.size() + handedOver.size() > beyond && !waiting.empty()) {
        waiting.pop_front();
        ++counters.dropped;
    }
}

void MqttClient::Impl::Apply(WireEvents taken)
{
    for (int mid : taken.delivered) {
        const auto given =
            std::find_if(handedOver.begin(), handedOver.end(), [mid](const auto& entry) { return entry.first == mid; });
        if (given == handedOver.end()) continue;
        handedOver.erase(given);
        ++counters.delivered;
    }
    if (!taken.delivered.empty()) settled.notify_all();
    for (Message& message : taken.arrived) {
        std::vector<MessageHandler> handlers;
        for (const Subscription& subscription : subscriptions)
            if (Matches(subscription.filter, message.topic) &&
                !(message.retained && subscription.kept == Kept::Ignored))
                handlers.push_back(subscription.handler);
        if (handlers.empty()) continue;
        calls.Post([handlers = std::move(handlers), message = std::move(message)] {
            for (const auto& handler : handlers) handler(message.topic, message.payload);
        });
    }
}

MqttClient::MqttClient(const MqttSettings& settings, std::string clientId, Will will)
    : m_impl(std::make_unique<Impl>(settings, std::move(clientId), std::move(will)))
{
    m_impl->thread = std::thread([impl = m_impl.get()] { impl->Run(); });
}

MqttClient::~MqttClient()
{
    m_impl->calls.Stop();  // no handler runs while the link closes
    m_impl->WaitSettled(kClosingTime);
    m_impl->closing = true;
    m_impl->Wake();
    m_impl->thread.join();
}

void MqttClient::Publish(const std::string& topic, const std::string& payload, bool retained, Qos qos)
{
    std::lock_guard lock(m_impl->mutex);
    ++m_impl->counters.published;
    m_impl->waiting.push_back({topic, payload, retained, qos});
    if (m_impl->counters.connected) m_impl->Flush();
    m_impl->Drop(m_impl->bound);
}

void MqttClient::Subscribe(const std::string& filter, MessageHandler handler, Kept kept)
{
    std::lock_guard lock(m_impl->mutex);
    m_impl->subscriptions.push_back({filter, std::move(handler), kept});
    if (!m_impl->counters.connected) return;  // the next connection subscribes
    std::lock_guard onWire(m_impl->wire);
    if (!m_impl->connection) return;
    mosquitto_subscribe(m_impl->connection, nullptr, filter.c_str(), 1);
    m_impl->WriteTheRestLater();
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
