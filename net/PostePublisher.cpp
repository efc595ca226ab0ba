#include "net/PostePublisher.h"

#include <unistd.h>

#include <atomic>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <optional>
#include <thread>
#include <utility>

#include "net/Pacing.h"
#include "net/PayloadJson.h"
#include "net/Topics.h"

namespace net {
namespace {

constexpr auto kMeasuresInterval = std::chrono::milliseconds(500);
constexpr auto kStationInterval = std::chrono::seconds(1);

// The will is fixed when connecting: the place as its first state shows it, gone.
PosteState Offline(PosteState state)
{
    state.activity = PosteActivity::Offline;
    state.time = UtcNow();
    return state;
}

// Two programs started by mistake on one place must not take the broker's connection from each other.
std::string ClientId(const MqttSettings& settings, const std::string& program)
{
    return program + "-" + settings.poste.salle + "-" + settings.poste.poste + "-" + std::to_string(::getpid());
}

void Stamp(std::string& time)
{
    if (time.empty()) time = UtcNow();
}

}  // namespace

struct PostePublisher::Impl {
    Impl(const MqttSettings& settings, PosteKind kind, std::string program, std::string version)
        : settings(settings), kind(kind), program(std::move(program)), version(std::move(version))
    {
        flusher = std::thread([this] { FlushHeldStation(); });
    }

    ~Impl()
    {
        {
            const std::lock_guard lock(mutex);
            ending = true;
        }
        wake.notify_all();
        flusher.join();
    }

    // The place as it is before any state: a station is named after its program.
    PosteState Bare() const
    {
        PosteState state;
        state.kind = kind;
        state.name = kind == PosteKind::Station ? program : std::string();
        state.program = program;
        state.version = version;
        return state;
    }

    // The connection is made at the first publication, so that its will names
    // the place as its first state does. Never called with `mutex` held: a
    // connection already up runs Republish at once.
    void Connect(const PosteState& first)
    {
        std::call_once(connecting, [&] {
            client = std::make_unique<MqttClient>(
                settings, ClientId(settings, program),
                MqttClient::Will{Topic(settings.poste, Channel::State), ToJson(Offline(first)), true});
            client->Subscribe(
                Topic(settings.poste, Channel::Order),
                [this](const std::string&, const std::string& payload) { TakeOrder(payload); },
                MqttClient::Kept::Ignored);
            client->OnConnected([this] { Republish(); });
            made = true;
        });
    }

    void Publish(Channel channel, const std::string& payload, bool retained)
    {
        // The live values are replaced twice a second: written is enough, and
        // the broker's acknowledgement would wake the link's thread each time.
        const auto qos = channel == Channel::Measures ? MqttClient::Qos::AtMostOnce : MqttClient::Qos::AtLeastOnce;
        client->Publish(Topic(settings.poste, channel), payload, retained, qos);
    }

    // The broker may have published the will meanwhile. The first connection
    // needs nothing: what was published before it waits in the buffer.
    void Republish()
    {
        const std::lock_guard lock(mutex);
        if (!connectedBefore) {
            connectedBefore = true;
            return;
        }
        if (state) Publish(Channel::State, ToJson(*state), true);
        if (stationSent) Publish(Channel::Station, ToJson(*stationSent), true);
    }

    void TakeOrder(const std::string& payload)
    {
        Order order;
        const std::string why = FromJson(payload, order);
        std::function<void(const Order&)> take;
        std::function<void(const std::string&)> refuse;
        {
            const std::lock_guard lock(mutex);
            take = onOrder;
            refuse = onRefused;
        }
        if (!why.empty()) {
            if (refuse) refuse(why);
        } else if (take) {
            take(order);
        }
    }

    // A station's change held back goes out when its second is up, even if no other comes.
    void FlushHeldStation()
    {
        std::unique_lock lock(mutex);
        while (!ending) {
            const std::optional<PacingClock::time_point> due = stationPacing.Due();
            if (!due) {
                wake.wait(lock);
                continue;
            }
            wake.wait_until(lock, *due);
            if (!ending && stationHeld && stationPacing.Release(PacingClock::now())) SendStation(*stationHeld);
        }
    }

    void SendStation(StationBits bits)
    {
        Publish(Channel::Station, ToJson(bits), true);
        stationSent = std::move(bits);
        stationHeld.reset();
    }

    const MqttSettings settings;
    const PosteKind kind;
    const std::string program;
    const std::string version;
    std::mutex mutex;  // what follows, up to the client
    std::condition_variable wake;
    bool ending = false;
    bool connectedBefore = false;
    std::optional<PosteState> state;
    RatePacing measuresPacing{kMeasuresInterval};
    ChangePacing stationPacing{kStationInterval};
    std::optional<StationBits> stationSent;
    std::optional<StationBits> stationHeld;
    std::function<void(const Order&)> onOrder;
    std::function<void(const std::string&)> onRefused;
    std::once_flag connecting;
    std::atomic<bool> made{false};  // the client is there
    // Last but one: its callbacks use the members above, so it goes before them.
    std::unique_ptr<MqttClient> client;
    std::thread flusher;
};

PostePublisher::PostePublisher(const MqttSettings& settings, PosteKind kind, std::string program, std::string version)
    : m_impl(std::make_unique<Impl>(settings, kind, std::move(program), std::move(version)))
{
}

PostePublisher::~PostePublisher()
{
    // Nothing published, nothing to take back.
    if (!m_impl->made) return;
    std::optional<PosteState> last;
    {
        const std::lock_guard lock(m_impl->mutex);
        last = m_impl->state;
        if (m_impl->stationHeld) m_impl->SendStation(*m_impl->stationHeld);
    }
    // A clean exit says so itself: the will is for the exits that cannot.
    m_impl->Publish(Channel::State, ToJson(Offline(last.value_or(m_impl->Bare()))), true);
}

void PostePublisher::PublishState(PosteState state)
{
    state.kind = m_impl->kind;
    state.program = m_impl->program;
    state.version = m_impl->version;
    Stamp(state.time);
    m_impl->Connect(state);
    const std::lock_guard lock(m_impl->mutex);
    m_impl->Publish(Channel::State, ToJson(state), true);
    m_impl->state = std::move(state);
}

void PostePublisher::PublishMeasures(const std::function<Measures()>& measuresNow)
{
    {
        const std::lock_guard lock(m_impl->mutex);
        if (!m_impl->measuresPacing.Admit(PacingClock::now())) return;
    }
    Measures measures = measuresNow();
    Stamp(measures.time);
    m_impl->Connect(m_impl->Bare());
    m_impl->Publish(Channel::Measures, ToJson(measures), false);
}

void PostePublisher::PublishRun(RunEnd run)
{
    Stamp(run.time);
    m_impl->Connect(m_impl->Bare());
    m_impl->Publish(Channel::Run, ToJson(run), false);
}

void PostePublisher::PublishStation(StationBits bits)
{
    Stamp(bits.time);
    // The time stamp is no change.
    StationBits compared = bits;
    compared.time.clear();
    m_impl->Connect(m_impl->Bare());
    const std::lock_guard lock(m_impl->mutex);
    switch (m_impl->stationPacing.Offer(ToJson(compared), PacingClock::now())) {
    case ChangePacing::Step::Send: m_impl->SendStation(std::move(bits)); break;
    case ChangePacing::Step::Hold:
        m_impl->stationHeld = std::move(bits);
        m_impl->wake.notify_all();
        break;
    case ChangePacing::Step::Same: m_impl->stationHeld.reset(); break;
    }
}

void PostePublisher::OnOrder(std::function<void(const Order&)> handler,
                             std::function<void(const std::string& why)> refused)
{
    const std::lock_guard lock(m_impl->mutex);
    m_impl->onOrder = std::move(handler);
    m_impl->onRefused = std::move(refused);
}

LinkCounters PostePublisher::Counters() const { return m_impl->made ? m_impl->client->Counters() : LinkCounters{}; }

}  // namespace net
