#include "window/CardConnection.h"

#include <tarvic/platform/Text.h>

#include "engine/link/CardOpening.h"
#include "engine/model/NumberText.h"
#include "window/Latin1.h"

namespace banc::window {
namespace {

constexpr const char* kLost = "Liaison perdue";

std::string WithoutFinalStop(std::string text)
{
    if (!text.empty() && text.back() == '.') text.pop_back();
    return text;
}

}  // namespace

// The session's news, carried over to the window's thread; news of a session
// that has gone by the time they arrive are dropped.
class CardConnection::Bridge : public SessionListener {
public:
    Bridge(CardConnection& owner, int session) : m_owner(&owner), m_session(session) {}

    void Started(int lines) override
    {
        Post([lines](CardConnection& c) { emit c.started(lines); });
    }
    void Live(const LiveValues& values) override
    {
        Post([values](CardConnection& c) {
            c.SetState(LinkState::Answering, {});
            emit c.live(values);
        });
    }
    void BlockAcquired(int acquired, int total) override
    {
        Post([acquired, total](CardConnection& c) {
            c.SetState(LinkState::Answering, {});
            emit c.blockAcquired(acquired, total);
        });
    }
    void Silent(const std::string& message) override
    {
        Post([text = Q(message)](CardConnection& c) { c.SetState(LinkState::Silent, text); });
    }
    void OrderRefused(const std::string& message) override
    {
        Post([text = Q(message)](CardConnection& c) { emit c.refused(text); });
    }
    void RunEnded(const Outcome& outcome) override
    {
        Post([outcome](CardConnection& c) {
            if (outcome.status == Outcome::Status::Silent) c.SetState(LinkState::Silent, Q(outcome.message));
            if (outcome.status == Outcome::Status::Lost) c.RetryLater(kLost);
            emit c.runEnded(outcome);
        });
    }
    void LinkLost(const Outcome&) override
    {
        Post([](CardConnection& c) { c.RetryLater(kLost); });
    }

private:
    template <class Deliver>
    void Post(Deliver deliver)
    {
        // The owner as context: nothing is delivered once it is destroyed.
        QMetaObject::invokeMethod(
            m_owner,
            [owner = m_owner, session = m_session, deliver] {
                if (owner->m_sessions == session) deliver(*owner);
            },
            Qt::QueuedConnection);
    }

    CardConnection* m_owner;
    int m_session;
};

CardConnection::CardConnection(Setup setup, std::mutex& elementsLock, QObject* parent)
    : QObject(parent), m_setup(std::move(setup)), m_elementsLock(elementsLock)
{
    m_retry.setSingleShot(true);
    m_retry.setInterval(m_setup.retryInterval);
    connect(&m_retry, &QTimer::timeout, this, &CardConnection::Retry);
}

CardConnection::~CardConnection() { Disconnect(); }

const std::string& CardConnection::Port() const
{
    static const std::string none;
    return m_link ? m_link->Port() : none;
}

void CardConnection::SetState(LinkState state, const QString& message)
{
    if (state == m_state && message == m_message) return;
    m_state = state;
    m_message = message;
    emit stateChanged(state, message);
}

std::string CardConnection::Connect(const CardChoice& card, const Bench& bench)
{
    Disconnect();
    m_choice = card;
    m_bench = &bench;
    return Open();
}

std::string CardConnection::Open()
{
    CardPlace place;
    place.simulated = m_choice.embedded;
    place.port = m_choice.port;
    place.card = {m_setup.cardsim, m_bench->name, m_choice.speed, std::nullopt, std::nullopt};
    place.timing = m_setup.timing;
    OpenedCard opened = OpenCard(place, m_card);
    if (!opened.link) {
        // A port that may come back (an adapter plugged in again) is waited for.
        if (opened.mayComeBack) {
            RetryLater(WithoutFinalStop(opened.error));
        } else {
            Close();
            SetState(LinkState::None, {});
        }
        return opened.error;
    }
    m_link = std::move(opened.link);
    m_bridge = std::make_unique<Bridge>(*this, m_sessions);
    m_session = std::make_unique<CardSession>(*m_link, m_elementsLock, *m_bridge, m_setup.watchInterval);
    if (m_elements) m_session->Attach(*m_elements, *m_settings);
    SetState(LinkState::Waiting, {});
    return {};
}

void CardConnection::Close()
{
    // The session first: it stops a run's loop on the card through the link.
    m_session.reset();
    ++m_sessions;
    m_bridge.reset();
    m_link.reset();
    m_card.Stop();
}

void CardConnection::Disconnect()
{
    m_retry.stop();
    Close();
    SetState(LinkState::None, {});
}

void CardConnection::RetryLater(const std::string& reason)
{
    Close();
    const double seconds = std::chrono::duration<double>(m_setup.retryInterval).count();
    SetState(LinkState::Lost,
             Q(tarvic::Format("%s : nouvel essai toutes les %s s", reason.c_str(), NumberText(seconds).c_str())));
    m_retry.start();
}

void CardConnection::Retry()
{
    if (m_bench) Open();
}

void CardConnection::Attach(Elements& elements, const Settings& settings)
{
    m_elements = &elements;
    m_settings = &settings;
    if (m_session) m_session->Attach(elements, settings);
}

void CardConnection::Detach()
{
    m_elements = nullptr;
    m_settings = nullptr;
    if (m_session) m_session->Detach();
}

bool CardConnection::StartRun(std::chrono::milliseconds pollInterval)
{
    return m_session && m_session->StartRun(pollInterval);
}

bool CardConnection::StartJob(SessionJob& job) { return m_session && m_session->StartJob(job); }

void CardConnection::StopRun()
{
    if (m_session) m_session->StopRun();
}

bool CardConnection::Running() const { return m_session && m_session->Running(); }

void CardConnection::Send(std::vector<std::string> orders)
{
    if (m_session && !orders.empty()) m_session->Send(std::move(orders));
}

}  // namespace banc::window
