#include "PostePublisher.h"

#include <unistd.h>

#include <condition_variable>
#include <mutex>
#include <optional>
#include <thread>
#include <utility>

#include "Pacing.h"
#include "PayloadJson.h"
#include "Topics.h"

namespace net {
namespace {

constexpr auto kMeasuresInterval = std::chrono::milliseconds(500);
constexpr auto kStationInterval = std::chrono::seconds(1);

// The will is fixed when connecting: a bench's name is not known yet, a station's is its program.
MqttClient::Will OfflineWill(const MqttSettings& settings, PosteKind kind, const std::string& program,
                             const std::string& version)
{
    PosteState state;
    state.kind = kind;
    state.name = kind == PosteKind::Station ? program : std::string();
    state.activity = PosteActivity::Offline;
    state.program = program;
    state.version = version;
    state.time = UtcNow();
    return {Topic(settings.poste, Channel::State), ToJson(state), true};
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
        : poste(settings.poste), kind(kind), program(std::move(program)), version(std::move(version)),
          client(settings, ClientId(settings, this->program), OfflineWill(settings, kind, this->program, this->version))
    {
        client.OnConnected([this] { Republish(); });
        client.Subscribe(Topic(poste, Channel::Order),
                         [this](const std::string&, const std::string& payload) { TakeOrder(payload); });
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

    void Publish(Channel channel, const std::string& payload, bool retained)
    {
        client.Publish(Topic(poste, channel), payload, retained);
    }

    void Republish()
    {
        const std::lock_guard lock(mutex);
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

    const Poste poste;
    const PosteKind kind;
    const std::string program;
    const std::string version;
    std::mutex mutex;  // everything below
    std::condition_variable wake;
    bool ending = false;
    std::optional<PosteState> state;
    RatePacing measuresPacing{kMeasuresInterval};
    ChangePacing stationPacing{kStationInterval};
    std::optional<StationBits> stationSent;
    std::optional<StationBits> stationHeld;
    std::function<void(const Order&)> onOrder;
    std::function<void(const std::string&)> onRefused;
    // Last but one: its callbacks use the members above, so it goes before them.
    MqttClient client;
    std::thread flusher;
};

PostePublisher::PostePublisher(const MqttSettings& settings, PosteKind kind, std::string program,
                               std::string version)
    : m_impl(std::make_unique<Impl>(settings, kind, std::move(program), std::move(version)))
{
}

PostePublisher::~PostePublisher()
{
    std::optional<PosteState> last;
    {
        const std::lock_guard lock(m_impl->mutex);
        last = m_impl->state;
        if (m_impl->stationHeld) m_impl->SendStation(*m_impl->stationHeld);
    }
    // A clean exit says so itself: the will is for the exits that cannot.
    PosteState offline = last.value_or(PosteState{});
    if (!last) {
        offline.kind = m_impl->kind;
        offline.program = m_impl->program;
        offline.version = m_impl->version;
        if (offline.kind == PosteKind::Station) offline.name = m_impl->program;
    }
    offline.activity = PosteActivity::Offline;
    offline.time = UtcNow();
    m_impl->Publish(Channel::State, ToJson(offline), true);
}

void PostePublisher::PublishState(PosteState state)
{
    state.kind = m_impl->kind;
    state.program = m_impl->program;
    state.version = m_impl->version;
    Stamp(state.time);
    const std::lock_guard lock(m_impl->mutex);
    m_impl->Publish(Channel::State, ToJson(state), true);
    m_impl->state = std::move(state);
}

void PostePublisher::PublishMeasures(Measures measures)
{
    {
        const std::lock_guard lock(m_impl->mutex);
        if (!m_impl->measuresPacing.Admit(PacingClock::now())) return;
    }
    Stamp(measures.time);
    m_impl->Publish(Channel::Measures, ToJson(measures), false);
}

void PostePublisher::PublishRun(RunEnd run)
{
    Stamp(run.time);
    m_impl->Publish(Channel::Run, ToJson(run), false);
}

void PostePublisher::PublishStation(StationBits bits)
{
    Stamp(bits.time);
    // The time stamp is no change.
    StationBits compared = bits;
    compared.time.clear();
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

LinkCounters PostePublisher::Counters() const { return m_impl->client.Counters(); }

}  // namespace net
