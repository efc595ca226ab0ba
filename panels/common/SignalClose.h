#pragma once

#include <csignal>

#include <QObject>

class QSocketNotifier;

// While it lives, SIGTERM, SIGINT and SIGHUP (a session's end, a kill) close
// the open dialogs, the panel last, through their normal path, so that the
// panel still sends the card its closing order; by default they would end the
// program on the spot. One at a time in a program.
class CloseOnSignals : public QObject {
    Q_OBJECT

public:
    CloseOnSignals();
    ~CloseOnSignals() override;
    CloseOnSignals(const CloseOnSignals&) = delete;
    CloseOnSignals& operator=(const CloseOnSignals&) = delete;

    // A signal has come: the program should end rather than open another panel.
    bool Requested() const { return m_requested; }

private:
    void OnSignal();

    static constexpr int kSignals[] = {SIGTERM, SIGINT, SIGHUP};
    int m_pipe[2] = {-1, -1};
    struct sigaction m_previous[std::size(kSignals)] = {};
    QSocketNotifier* m_notifier = nullptr;
    bool m_requested = false;
};
