#include "window/CardConnection.h"

#include <tarvic/platform/Text.h>

#include "engine/PortDiagnosis.h"
#include "window/Latin1.h"

namespace banc::window {

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
            if (outcome.status == Outcome::Status::Lost) c.SetState(LinkState::Lost, Q(outcome.message));
            emit c.runEnded(outcome);
        });
    }
    void LinkLost(const Outcome& outcome) override
    {
        Post([text = Q(outcome.message)](CardConnection& c) { c.SetState(LinkState::Lost, text); });
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
}

CardConnection::~CardConnection() { Disconnect(); }

const std::string& CardConnection::Port() const
{
    static const std::string none;
    return m_link ? m_link->Port() : none;
}

void CardConnection::SetState(LinkState state, const QString& message)
{
    if (state == m_state) return;
    m_state = state;
    emit stateChanged(state, message);
}

std::string CardConnection::Connect(const CardChoice& card, const Bench& bench)
{
    Disconnect();
    std::string port = card.port;
    if (card.embedded) {
        const std::vector<std::string> arguments = {"--bench", bench.name, "--speed", tarvic::Format("%g", card.speed)};
        if (std::string error = m_card.Start(m_setup.cardsim, arguments); !error.empty()) return error;
        port = m_card.Path();
    } else if (port.empty()) {
        return "Aucun port choisi : choisissez le port de la carte.";
    }
    m_link = std::make_unique<CardLink>(port, m_setup.timing);
    if (!m_link->Open()) {
        const std::string error = card.embedded
                                      ? tarvic::Format("La carte simul\xE9" "e ne s'ouvre pas sur %s.", port.c_str())
                                      : PortFailure(port, m_link->OpenError());
        Disconnect();
        return error;
    }
    m_bridge = std::make_unique<Bridge>(*this, m_sessions);
    m_session = std::make_unique<CardSession>(*m_link, m_elementsLock, *m_bridge, m_setup.watchInterval);
    SetState(LinkState::Waiting, {});
    return {};
}

void CardConnection::Disconnect()
{
    // The session first: it stops a run's loop on the card through the link.
    m_session.reset();
    ++m_sessions;
    m_bridge.reset();
    m_link.reset();
    m_card.Stop();
    SetState(LinkState::None, {});
}

void CardConnection::Attach(Elements& elements, const Settings& settings)
{
    if (m_session) m_session->Attach(elements, settings);
}

void CardConnection::Detach()
{
    if (m_session) m_session->Detach();
}

bool CardConnection::StartRun(std::chrono::milliseconds pollInterval)
{
    return m_session && m_session->StartRun(pollInterval);
}

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
