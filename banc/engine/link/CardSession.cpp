#include "engine/link/CardSession.h"

#include <utility>

namespace banc {

void SessionListener::RunEnded(const Outcome&) {}
void SessionListener::LinkLost(const Outcome&) {}
SessionJob::~SessionJob() = default;

CardSession::CardSession(CardLink& link, std::mutex& elementsLock, SessionListener& listener,
                         std::chrono::milliseconds watchInterval)
    : m_link(link), m_listener(listener), m_watchInterval(watchInterval), m_elementsLock(elementsLock),
      m_thread([this] { Loop(); })
{
}

CardSession::~CardSession() { Close(); }

void CardSession::Attach(Elements& elements, const Settings& settings)
{
    std::lock_guard lock(m_mutex);
    m_elements = &elements;
    m_settings = &settings;
    m_changed.notify_all();
}

void CardSession::StopCurrent()
{
    if (m_currentJob) {
        if (!std::exchange(m_stopAsked, true)) m_currentJob->RequestStop();
        return;
    }
    if (!m_current || m_stopAsked) return;
    m_stopAsked = true;
    // The exchange under way is given up, so that a silent card keeps nobody
    // waiting; a run still sends the order that stops the card's loop.
    m_current->RequestStop();
}

void CardSession::Detach()
{
    std::unique_lock lock(m_mutex);
    m_elements = nullptr;
    m_settings = nullptr;
    m_runWanted = false;
    StopCurrent();
    m_changed.wait(lock, [this] { return m_current == nullptr && !m_currentJob; });
}

bool CardSession::StartRun(std::chrono::milliseconds pollInterval, RunPlan* plan)
{
    std::lock_guard lock(m_mutex);
    if (!m_elements || m_lost || m_runWanted || (m_current && m_currentRuns) || m_currentJob) return false;
    m_runWanted = true;
    m_runInterval = pollInterval;
    m_plan = plan;
    m_job = nullptr;
    StopCurrent();  // the watch
    m_changed.notify_all();
    return true;
}

bool CardSession::StartJob(SessionJob& job)
{
    std::lock_guard lock(m_mutex);
    if (!m_elements || m_lost || m_runWanted || (m_current && m_currentRuns) || m_currentJob) return false;
    m_runWanted = true;
    m_job = &job;
    StopCurrent();  // the watch
    m_changed.notify_all();
    return true;
}

void CardSession::StopRun()
{
    std::lock_guard lock(m_mutex);
    m_runWanted = false;
    if (m_currentRuns || m_currentJob) StopCurrent();
}

bool CardSession::Running() const
{
    std::lock_guard lock(m_mutex);
    return m_runWanted || (m_current && m_currentRuns) || m_currentJob;
}

void CardSession::Send(std::vector<std::string> orders)
{
    std::lock_guard lock(m_mutex);
    if (m_current && !m_stopAsked)
        m_current->Send(std::move(orders));
    else
        m_pending.insert(m_pending.end(), orders.begin(), orders.end());
}

void CardSession::Close()
{
    {
        std::lock_guard lock(m_mutex);
        m_closing = true;
        m_runWanted = false;
        StopCurrent();
        m_changed.notify_all();
    }
    if (m_thread.joinable()) m_thread.join();
}

void CardSession::Loop()
{
    std::unique_lock lock(m_mutex);
    while (true) {
        m_changed.wait(lock, [this] { return m_closing || (m_elements && !m_lost); });
        if (m_closing) return;
        const bool run = m_runWanted;
        m_runWanted = false;
        if (run && m_job) {
            RunJob(lock);
            continue;
        }
        std::optional<Experiment> experiment;
        {
            std::lock_guard hold(m_elementsLock);  // the experiment reads the elements' scales
            experiment.emplace(*m_elements, *m_settings, m_link);
        }
        experiment->SetLock(&m_elementsLock);
        experiment->SetObserver(&m_listener);
        experiment->SetPollInterval(run ? m_runInterval : m_watchInterval);
        if (run) experiment->SetPlan(std::exchange(m_plan, nullptr));
        experiment->Send(std::move(m_pending));
        m_pending.clear();
        m_current = &*experiment;
        m_currentRuns = run;
        m_stopAsked = false;
        lock.unlock();
        const Outcome outcome = run ? experiment->Run() : experiment->Watch();
        lock.lock();
        m_link.Resume();
        std::vector<std::string> unsent = experiment->Unsent();
        m_pending.insert(m_pending.begin(), unsent.begin(), unsent.end());
        m_current = nullptr;
        m_currentRuns = false;
        m_lost = m_lost || outcome.status == Outcome::Status::Lost;
        m_changed.notify_all();
        lock.unlock();
        if (run)
            m_listener.RunEnded(outcome);
        else if (outcome.status == Outcome::Status::Lost)
            m_listener.LinkLost(outcome);
        lock.lock();
    }
}

void CardSession::RunJob(std::unique_lock<std::mutex>& lock)
{
    SessionJob& job = *std::exchange(m_job, nullptr);
    m_currentJob = &job;
    m_stopAsked = false;
    lock.unlock();
    const Outcome outcome = job.Run(m_link, m_elementsLock, m_listener);
    lock.lock();
    m_link.Resume();
    m_currentJob = nullptr;
    m_lost = m_lost || outcome.status == Outcome::Status::Lost;
    m_changed.notify_all();
    lock.unlock();
    m_listener.RunEnded(outcome);
    lock.lock();
}

}  // namespace banc
