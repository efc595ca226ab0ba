#include "tarvic/platform/SignalClose.h"

#include <fcntl.h>
#include <unistd.h>

#include <QApplication>
#include <QDialog>
#include <QSocketNotifier>

#include <cerrno>

namespace tarvic {
namespace {

int g_writeEnd = -1;

// Only what is safe in a handler: the signal's number down the pipe.
void OnSignalHandler(int signal)
{
    const int saved = errno;
    const auto byte = static_cast<unsigned char>(signal);
    [[maybe_unused]] const auto written = ::write(g_writeEnd, &byte, 1);
    errno = saved;
}

}  // namespace

SignalClose::SignalClose(std::function<void()> close) : m_close(std::move(close))
{
    if (::pipe2(m_pipe, O_CLOEXEC | O_NONBLOCK) != 0) return;
    g_writeEnd = m_pipe[1];
    m_notifier = new QSocketNotifier(m_pipe[0], QSocketNotifier::Read, this);
    connect(m_notifier, &QSocketNotifier::activated, this, &SignalClose::OnSignal);
    struct sigaction action = {};
    action.sa_handler = OnSignalHandler;
    action.sa_flags = SA_RESTART;
    sigemptyset(&action.sa_mask);
    for (std::size_t i = 0; i < std::size(kSignals); ++i) ::sigaction(kSignals[i], &action, &m_previous[i]);
}

SignalClose::~SignalClose()
{
    if (m_pipe[0] < 0) return;
    for (std::size_t i = 0; i < std::size(kSignals); ++i) ::sigaction(kSignals[i], &m_previous[i], nullptr);
    g_writeEnd = -1;
    ::close(m_pipe[0]);
    ::close(m_pipe[1]);
}

void SignalClose::OnSignal()
{
    unsigned char bytes[16];
    for (ssize_t count; (count = ::read(m_pipe[0], bytes, sizeof bytes)) > 0;) m_received = bytes[count - 1];
    // Innermost first: a question or a file dialog ends its own loop, then the one under it.
    QWidget* previous = nullptr;
    while (QWidget* modal = QApplication::activeModalWidget()) {
        if (modal == previous) break;
        previous = modal;
        if (auto* dialog = qobject_cast<QDialog*>(modal))
            dialog->reject();
        else
            modal->close();
    }
    if (m_close) QMetaObject::invokeMethod(this, [this] { m_close(); }, Qt::QueuedConnection);
}

}  // namespace tarvic
