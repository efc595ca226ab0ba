#include "engine/publish/RoomReport.h"

#include <tarvic/Version.h>

#include <mutex>
#include <utility>

#include "engine/publish/LiveMeasures.h"
#include "engine/publish/RunEndPayload.h"
#include "net/PayloadJson.h"
#include "net/PostePublisher.h"

namespace banc::publish {

struct RoomReport::Place {
    Place(const net::MqttSettings& mqtt, std::string program, std::string user)
        : user(std::move(user)), publisher(mqtt, net::PosteKind::Bench, std::move(program), TARVIC_VERSION_STRING)
    {
        publisher.OnOrder([this](const net::Order& order) { Take(order); },
                          [this](const std::string& why) {
                              const std::lock_guard lock(ordersMutex);
                              if (orders.refused) orders.refused(why);
                          });
    }

    // Held while a handler runs, so that once SetOrders returns none of the old ones is still running.
    void Take(const net::Order& order)
    {
        const std::lock_guard lock(ordersMutex);
        if (order.kind == net::Order::Kind::Stop) {
            if (orders.stop) orders.stop();
        } else if (orders.message) {
            orders.message(order.text);
        }
    }

    void Publish(const Settings& settings, net::PosteActivity activity, const std::string& card)
    {
        net::PosteState state;
        state.name = settings.bench->name;
        state.mode = settings.mode->name;
        state.activity = activity;
        state.card = card;
        state.user = user;
        publisher.PublishState(std::move(state));
    }

    const std::string user;
    std::mutex ordersMutex;
    Orders orders;
    std::mutex liveMutex;
    LiveMeasures live;
    net::PostePublisher publisher;  // last: its callbacks use the members above
};

RoomReport::RoomReport(const net::MqttSettings& mqtt, std::string program, std::string user)
{
    if (mqtt.On()) m_place = std::make_unique<Place>(mqtt, std::move(program), std::move(user));
}

RoomReport::~RoomReport() = default;

void RoomReport::Free(const Settings& settings, const std::string& card)
{
    if (m_place) m_place->Publish(settings, net::PosteActivity::Free, card);
}

void RoomReport::RunStarted(const Settings& settings, Elements& elements, const std::string& card)
{
    if (!m_place) return;
    {
        const std::lock_guard lock(m_place->liveMutex);
        m_place->live = LiveMeasures(settings, elements);
    }
    m_place->Publish(settings, net::PosteActivity::Running, card);
}

void RoomReport::Live(const LiveValues& values)
{
    if (!m_place) return;
    m_place->publisher.PublishMeasures([&] {
        const std::lock_guard lock(m_place->liveMutex);
        return m_place->live.Of(values);
    });
}

void RoomReport::RunEnded(const history::KeptInHistory& kept)
{
    if (!m_place) return;
    const history::StoredRun& run = kept.run;
    m_place->publisher.PublishRun(RunEndOf(run, net::UtcNow()));
    net::PosteState state;
    state.name = run.bench;
    state.mode = run.mode;
    state.activity =
        run.outcome == history::RunOutcome::Complete ? net::PosteActivity::Free : net::PosteActivity::Stopped;
    state.card = run.card;
    state.user = m_place->user;
    m_place->publisher.PublishState(std::move(state));
}

void RoomReport::RunEnded(const Settings& settings, const Outcome& outcome, const std::string& card)
{
    if (!m_place) return;
    m_place->Publish(
        settings, outcome.status == Outcome::Status::Finished ? net::PosteActivity::Free : net::PosteActivity::Stopped,
        card);
}

void RoomReport::SetOrders(Orders orders)
{
    if (!m_place) return;
    const std::lock_guard lock(m_place->ordersMutex);
    m_place->orders = std::move(orders);
}

net::LinkCounters RoomReport::Counters() const { return m_place ? m_place->publisher.Counters() : net::LinkCounters{}; }

}  // namespace banc::publish
