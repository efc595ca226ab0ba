#include "net/RoomListener.h"

#include <unistd.h>

#include <utility>

#include "net/Latin1.h"
#include "net/PayloadJson.h"

namespace net {
namespace {

// The place a topic we cannot read still names, so that the view shows it where it belongs.
Poste NamedIn(const std::string& topic)
{
    std::string levels[3];
    std::size_t level = 0;
    for (const char c : topic) {
        if (c == '/') {
            if (++level == 3) break;
        } else {
            levels[level] += c;
        }
    }
    return {FromUtf8(levels[1]).value_or(levels[1]), FromUtf8(levels[2]).value_or(levels[2])};
}

// Parses `payload` into a T and hands it over, or says why not.
template <typename T, typename Handler>
void Deliver(const RoomListener::Handlers& handlers, const Handler& handler, const Poste& poste,
             const std::string& topic, const std::string& payload)
{
    T value;
    if (std::string why = FromJson(payload, value); !why.empty()) {
        if (handlers.unreadable) handlers.unreadable(poste, topic, why);
        return;
    }
    if (handler) handler(poste, value);
}

}  // namespace

struct RoomListener::Impl {
    explicit Impl(Handlers handlers) : handlers(std::move(handlers)) {}

    void Arrived(const std::string& topic, const std::string& payload);

    const Handlers handlers;
    std::unique_ptr<MqttClient> client;  // last: no message arrives once it is gone
};

void RoomListener::Impl::Arrived(const std::string& topic, const std::string& payload)
{
    // An empty retained message is how a place's state is taken off the broker, not garbage.
    if (payload.empty()) return;
    const auto parsed = ParseTopic(topic);
    if (!parsed) {
        if (handlers.unreadable) handlers.unreadable(NamedIn(topic), topic, "sujet inconnu : " + topic);
        return;
    }
    const Poste& poste = parsed->poste;
    switch (parsed->channel) {
    case Channel::State: Deliver<PosteState>(handlers, handlers.state, poste, topic, payload); break;
    case Channel::Measures: Deliver<Measures>(handlers, handlers.measures, poste, topic, payload); break;
    case Channel::Run: Deliver<RunEnd>(handlers, handlers.run, poste, topic, payload); break;
    case Channel::Station: Deliver<StationBits>(handlers, handlers.station, poste, topic, payload); break;
    case Channel::Order: break;  // the room's own orders, as they went out
    }
}

RoomListener::RoomListener(const MqttSettings& settings, Handlers handlers)
    : m_impl(std::make_unique<Impl>(std::move(handlers)))
{
    // A teacher may watch from two PCs at once: each view is its own client.
    m_impl->client =
        std::make_unique<MqttClient>(settings, "tarvic-salle-" + std::to_string(::getpid()), MqttClient::Will{});
    Impl* impl = m_impl.get();
    m_impl->client->Subscribe(
        RoomFilter(settings.poste.salle),
        [impl](const std::string& topic, const std::string& payload) { impl->Arrived(topic, payload); });
}

RoomListener::~RoomListener() = default;

void RoomListener::Send(const Poste& poste, const Order& order)
{
    Order stamped = order;
    if (stamped.time.empty()) stamped.time = UtcNow();
    m_impl->client->Publish(Topic(poste, Channel::Order), ToJson(stamped), false);
}

LinkCounters RoomListener::Counters() const { return m_impl->client->Counters(); }

}  // namespace net
