#pragma once

#include <QObject>
#include <QString>
#include <QTimer>

#include <chrono>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "engine/link/CardLink.h"
#include "engine/link/CardSession.h"
#include "engine/link/EmbeddedCard.h"
#include "window/WindowProfile.h"

namespace banc::window {

enum class LinkState {
    None,       // no card
    Waiting,    // connected, no answer yet
    Answering,  // the status "Carte connect\xE9e"
    Silent,     // the status "La carte ne r\xE9pond pas"
    Lost,       // the port went away or cannot be opened: tried again every `retryInterval`
};

// The window's card: the embedded simulated card of the bench or a serial
// port, its link and the session that talks to it on a thread of its own.
// What the session tells arrives here on the window's thread, as signals.
class CardConnection : public QObject {
    Q_OBJECT

public:
    struct Setup {
        std::string cardsim;  // the simulated card program
        LinkTiming timing;
        std::chrono::milliseconds watchInterval{250};
        // A port gone (unplugged, the card switched off) is tried again this often, as the panels do.
        std::chrono::milliseconds retryInterval{2000};
    };
    CardConnection(Setup setup, std::mutex& elementsLock, QObject* parent = nullptr);
    ~CardConnection() override;

    // The card of `bench` as chosen; "" or why not (Latin-1). Whatever was connected goes first.
    // A port that cannot be opened is tried again until it opens or another card is chosen.
    std::string Connect(const CardChoice& card, const Bench& bench);
    void Disconnect();
    bool IsConnected() const { return m_session != nullptr; }
    LinkState State() const { return m_state; }
    const std::string& Port() const;

    // Kept for the sessions to come, after a lost port; the rest with a session only, the same as CardSession's.
    void Attach(Elements& elements, const Settings& settings);
    void Detach();
    bool StartRun(std::chrono::milliseconds pollInterval);
    // Kept by the caller until runEnded.
    bool StartJob(SessionJob& job);
    void StopRun();
    bool Running() const;
    void Send(std::vector<std::string> orders);

signals:
    void stateChanged(LinkState state, const QString& message);
    void live(const LiveValues& values);
    void started(int configurationLines);
    void blockAcquired(int acquired, int total);
    void runEnded(const Outcome& outcome);
    void refused(const QString& message);

private:
    class Bridge;
    void SetState(LinkState state, const QString& message);
    // Opens the card chosen last; "" or why not.
    std::string Open();
    void Close();
    // The link is gone or would not open for `reason`: tried again later.
    void RetryLater(const std::string& reason);
    void Retry();

    Setup m_setup;
    std::mutex& m_elementsLock;
    LinkState m_state = LinkState::None;
    QString m_message;
    int m_sessions = 0;  // sessions started so far: the news of earlier ones are dropped
    CardChoice m_choice;
    const Bench* m_bench = nullptr;
    Elements* m_elements = nullptr;
    const Settings* m_settings = nullptr;
    QTimer m_retry;
    EmbeddedCard m_card;
    std::unique_ptr<CardLink> m_link;
    std::unique_ptr<Bridge> m_bridge;
    std::unique_ptr<CardSession> m_session;
};

}  // namespace banc::window
