#include "window/HistoryBase.h"

#include <utility>

namespace banc::window {

HistoryBase::HistoryBase(std::string path, std::string user, QObject* parent)
    : QObject(parent), m_path(path.empty() ? history::RunHistory::DefaultPath() : std::move(path)),
      m_user(std::move(user))
{
    Opened();
}

HistoryBase::~HistoryBase() = default;

std::string HistoryBase::Opened()
{
    if (m_open) return {};
    m_unavailable = m_history.Open(m_path);
    m_open = m_unavailable.empty();
    return m_unavailable;
}

history::KeptInHistory HistoryBase::Keep(const Settings& settings, Elements& elements, const Outcome& outcome,
                                         const std::string& startedAt, const std::string& card)
{
    history::RunContext context;
    context.historyPath = m_path;
    context.user = m_user;
    context.card = card;
    context.startedAt = startedAt;
    // The window's lab work comes after the run, on what it shows: the run keeps its own figures.
    history::KeptInHistory kept = history::KeepRun(settings, elements, outcome, RunReport{}, context);
    emit changed();
    return kept;
}

std::string HistoryBase::List(const std::string& bench, std::vector<history::StoredRun>& runs)
{
    runs.clear();
    if (std::string error = Opened(); !error.empty()) return error;
    history::RunFilter filter;
    filter.bench = bench;
    return m_history.List(filter, runs);
}

std::string HistoryBase::Read(long long number, history::StoredRun& run)
{
    if (std::string error = Opened(); !error.empty()) return error;
    return m_history.Read(number, run);
}

std::string HistoryBase::SetComment(long long number, const std::string& comment)
{
    if (std::string error = Opened(); !error.empty()) return error;
    std::string error = m_history.SetComment(number, comment);
    if (error.empty()) emit changed();
    return error;
}

std::string HistoryBase::Remove(long long number, history::StoredRun& removed)
{
    if (std::string error = Opened(); !error.empty()) return error;
    std::string error = m_history.Remove(number, removed);
    if (error.empty()) emit changed();
    return error;
}

}  // namespace banc::window
