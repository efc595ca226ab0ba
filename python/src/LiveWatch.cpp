#include "LiveWatch.h"

namespace banc::python {

LiveWatch::LiveWatch(BenchSession& session, const Arguments& arguments) : m_session(session)
{
    session.Read(arguments, m_settings);
    session.Configure(m_settings, m_elements);
}

void LiveWatch::Run()
{
    CardLink& link = m_session.Link();
    link.Resume();
    Experiment experiment(m_elements, m_settings, link);
    experiment.SetObserver(this);
    {
        std::lock_guard lock(m_mutex);
        m_experiment = &experiment;
        if (m_stopAsked) experiment.RequestStop();
    }
    m_outcome = experiment.Watch();
    {
        std::lock_guard lock(m_mutex);
        m_experiment = nullptr;
    }
    // The watch waits for a card that stays silent: here its silence ends the reading.
    if (m_faulted) m_outcome = m_fault;
}

void LiveWatch::RequestStop()
{
    std::lock_guard lock(m_mutex);
    m_stopAsked = true;
    if (m_experiment) m_experiment->RequestStop();
}

void LiveWatch::Live(const LiveValues& values)
{
    const auto& measures = m_settings.bench->measures;
    for (std::size_t i = 0; i < measures.size() && i < values.measures.size(); ++i)
        m_values.emplace_back(measures[i].name, values.measures[i]);
    if (values.hasSetpoint) m_values.emplace_back("consigne", values.setpoint);
    m_values.emplace_back("commande", values.command);
    RequestStop();
}

void LiveWatch::Silent(const std::string& message) { StopWith(Outcome::Status::Silent, message); }

void LiveWatch::OrderRefused(const std::string& message) { StopWith(Outcome::Status::Refused, message); }

void LiveWatch::StopWith(Outcome::Status status, const std::string& message)
{
    m_fault = {status, message};
    m_faulted = true;
    RequestStop();
}

}  // namespace banc::python
