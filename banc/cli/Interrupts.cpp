#include "cli/Interrupts.h"

#include <pthread.h>

namespace banc::cli {

InterruptWatch::InterruptWatch()
{
    sigemptyset(&m_signals);
    sigaddset(&m_signals, SIGINT);
    sigaddset(&m_signals, SIGTERM);
    // A closed terminal or a logout: the run stops as for a kill, the card's loop with it.
    sigaddset(&m_signals, SIGHUP);
    pthread_sigmask(SIG_BLOCK, &m_signals, &m_previous);
    // The reader of the messages may go with the terminal (a pipe to tee): a
    // message that finds no reader must not end the run before its files are written.
    struct sigaction ignore{};
    ignore.sa_handler = SIG_IGN;
    sigaction(SIGPIPE, &ignore, &m_previousPipe);
    m_thread = std::thread([this] { Watch(); });
}

InterruptWatch::~InterruptWatch()
{
    m_ending = true;
    pthread_kill(m_thread.native_handle(), SIGTERM);
    m_thread.join();
    pthread_sigmask(SIG_SETMASK, &m_previous, nullptr);
    sigaction(SIGPIPE, &m_previousPipe, nullptr);
}

void InterruptWatch::SetHandler(std::function<void()> handler)
{
    std::lock_guard lock(m_mutex);
    m_handler = std::move(handler);
}

void InterruptWatch::Watch()
{
    while (true) {
        int signal = 0;
        if (sigwait(&m_signals, &signal) != 0) continue;
        if (m_ending) return;
        ++m_count;
        std::lock_guard lock(m_mutex);
        if (m_handler) m_handler();
    }
}

}  // namespace banc::cli
