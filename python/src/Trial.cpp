#include "Trial.h"

#include <tarvic/platform/Text.h>

#include "Errors.h"
#include "cli/Summary.h"
#include "engine/outputs/CsvExport.h"
#include "engine/outputs/RecordingArchive.h"
#include "engine/outputs/Results.h"
#include "engine/outputs/ResultsJson.h"
#include "engine/run/CardIdentity.h"

namespace banc::python {

Trial::Trial(BenchSession& session, const Arguments& arguments) : m_session(session)
{
    m_request = session.Read(arguments, m_settings);
    session.Configure(m_settings, m_elements);
    m_lab = std::make_unique<cli::LabRun>(m_request, session.Profile());
    if (std::string error = m_lab->Prepare(m_settings, m_elements); !error.empty()) throw UsageError(error);
    m_planned = m_elements.recording->LitParam(2);
}

void Trial::Run()
{
    CardLink& link = m_session.Link();
    // A stop of the run before may have left its exchanges given up.
    link.Resume();
    CEnregistrement& recording = *m_elements.recording;
    const double speed = m_request.port.empty() ? m_request.speed.value_or(1) : 1;
    const double secondsPerBlock = recording.LitTempsAttente() / 1000.0 / speed;
    const std::string startedAt = history::LocalTimeText();
    Experiment experiment(m_elements, m_settings, link);
    experiment.SetObserver(this);
    experiment.SetPlan(m_lab->Plan());
    experiment.SetPollInterval(Experiment::PollIntervalFor(secondsPerBlock));
    {
        std::lock_guard lock(m_mutex);
        m_experiment = &experiment;
        for (int stop = 0; stop < m_stops; ++stop) experiment.RequestStop();
    }
    m_outcome = experiment.Run();
    {
        std::lock_guard lock(m_mutex);
        m_experiment = nullptr;
    }
    // As the console: the lab work, and the history, only for a record that holds blocks.
    if (m_outcome.unusable || Blocks() == 0) return;
    m_lab->Conclude(m_settings, m_elements, m_outcome);
    std::string card = m_outcome.status == Outcome::Status::Finished ? AskIdentification(link) : std::string();
    if (card.empty() && m_request.port.empty()) card = "cardsim (carte simul\xE9" "e)";
    m_kept = history::KeepRun(m_settings, m_elements, m_outcome, m_lab->Outputs().report,
                              {m_request.history, m_request.student, card, startedAt});
}

void Trial::RequestStop()
{
    std::lock_guard lock(m_mutex);
    ++m_stops;
    if (m_experiment) m_experiment->RequestStop();
}

void Trial::BlockAcquired(int acquired, int total)
{
    m_planned = total;
    m_acquired = acquired;
}

int Trial::Blocks() const { return BlocksAcquired(*m_elements.recording); }

double Trial::PeriodSeconds() const { return PeriodMs(*m_elements.recording) / 1000.0; }

std::vector<std::string> Trial::Columns() const
{
    std::vector<std::string> names;
    for (const Curve& column : ResultColumns(m_settings, m_elements))
        names.push_back(tarvic::Latin1ToUtf8(column.column));
    return names;
}

std::vector<float> Trial::Values(std::size_t column) const
{
    const std::vector<Curve> columns = ResultColumns(m_settings, m_elements);
    std::vector<float> values;
    if (column >= columns.size()) return values;
    const int points = Blocks() * kPointsPerBlock;
    values.reserve(static_cast<std::size_t>(points));
    for (int i = 0; i < points; ++i) values.push_back(columns[column].Value(*m_elements.recording, i));
    return values;
}

std::string Trial::Json()
{
    RunReport report = m_lab->Outputs().report;
    ReportRun(m_settings, m_elements, report);
    return ResultsJson(report);
}

std::string Trial::Summary() const
{
    return tarvic::Latin1ToUtf8(cli::SummaryText(m_settings, m_elements) + m_lab->Outputs().text);
}

void Trial::CheckAcquired() const
{
    if (Blocks() == 0) throw UsageError("Aucun bloc acquis : aucun fichier n'est \xE9" "crit.");
}

void Trial::WriteCsv(const std::string& path, const std::string& format) const
{
    const CsvFormatChoice* choice = FindCsvFormat(format);
    if (!choice) throw UsageError(tarvic::Format("Format CSV inconnu : %s (rfc4180, fr).", format.c_str()));
    CheckAcquired();
    CEnregistrement& recording = *m_elements.recording;
    if (std::string error = banc::WriteCsv(path, recording, ResultColumns(m_settings, m_elements), PeriodMs(recording),
                                           Blocks(), choice->format);
        !error.empty())
        throw SystemError(0, error);
}

void Trial::WriteArchive(const std::string& path) const
{
    CheckAcquired();
    if (std::string error = SaveArchive(path, m_settings, m_elements); !error.empty()) throw SystemError(0, error);
}

}  // namespace banc::python
