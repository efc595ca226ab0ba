#pragma once

#include <QObject>

#include <csignal>
#include <functional>
#include <iterator>

#include "tarvic/platform/Export.h"

class QSocketNotifier;

namespace tarvic {

// While it lives, SIGTERM, SIGINT and SIGHUP (a logout, a shutdown, a kill,
// Ctrl-C at the terminal) close the open dialogs, innermost first, then call
// `close` (when given) on the program's thread: the program ends through its
// normal path, which tells the card and keeps what it acquired, instead of on
// the spot. One at a time in a program.
class TARVIC_EXPORT SignalClose : public QObject {
    Q_OBJECT

public:
    explicit SignalClose(std::function<void()> close = {});
    ~SignalClose() override;
    SignalClose(const SignalClose&) = delete;
    SignalClose& operator=(const SignalClose&) = delete;

    // The signal that came last; 0 before any.
    int Received() const { return m_received; }

private:
    void OnSignal();

    static constexpr int kSignals[] = {SIGTERM, SIGINT, SIGHUP};
    std::function<void()> m_close;
    int m_pipe[2] = {-1, -1};
    struct sigaction m_previous[std::size(kSignals)] = {};
    QSocketNotifier* m_notifier = nullptr;
    int m_received = 0;
};

}  // namespace tarvic
