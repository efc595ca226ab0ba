#include "cli/Outputs.h"

#include <unistd.h>

#include <QGuiApplication>

#include <tarvic/platform/Text.h>

#include <cerrno>
#include <cstring>

#include "cli/Console.h"
#include "cli/ExitStatus.h"
#include "cli/Summary.h"
#include "engine/outputs/CsvExport.h"
#include "engine/outputs/FilePaths.h"
#include "engine/outputs/PlotImage.h"
#include "engine/outputs/RecordingArchive.h"
#include "engine/outputs/Results.h"

namespace banc::cli {
namespace {

std::string Folder(const std::string& path)
{
    const std::size_t slash = path.rfind('/');
    if (slash == std::string::npos) return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

}  // namespace

void RequireGuiApplication()
{
    if (QCoreApplication::instance()) return;
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    static int argc = 1;
    static char name[] = "tarvic-banc";
    static char* argv[] = {name, nullptr};
    // Qt's remarks on the session it starts in (no runtime folder...) are no business of the user's.
    const QtMessageHandler previous =
        qInstallMessageHandler([](QtMsgType, const QMessageLogContext&, const QString&) {});
    static QGuiApplication application(argc, argv);
    qInstallMessageHandler(previous);
}

void WrittenFiles::Add(const std::string& path, const std::string& error)
{
    if (error.empty())
        m_written += (m_written.empty() ? "" : ", ") + path;
    else
        Complain(error);
    m_ok = m_ok && error.empty();
}

void WrittenFiles::TellWritten() const
{
    if (!m_written.empty()) Tell("Fichiers \xE9" "crits : " + m_written);
}

void Tell(const std::string& latin1) { Write(stderr, latin1 + "\n"); }

void Complain(const std::string& latin1) { Write(stderr, "tarvic-banc : " + latin1 + "\n"); }

std::string RefusedOutputs(const Request& request, const std::string& profilePath)
{
    struct Named {
        const char* name;  // the option, or what the file read is
        const std::string& path;
    };
    const Named outputs[] = {{"--csv", request.csv},
                             {"--png", request.png},
                             {"--archive", request.archive},
                             {"--json", request.json},
                             {"--rapport", request.report}};
    const Named inputs[] = {{"c'est l'archive ouverte, elle serait \xE9" "cras\xE9" "e", request.open},
                            {"c'est le profil des r\xE9glages, il serait \xE9" "cras\xE9", profilePath}};
    if (request.csvFormat && request.csv.empty()) return "--csv-format ne vaut qu'avec --csv.";
    const bool reported = request.action == Request::Action::ShowRun || request.action == Request::Action::Compare;
    if (!request.report.empty() && !reported) return "--rapport ne vaut qu'avec --essai ou --comparer.";
    for (auto output = std::begin(outputs); output != std::end(outputs); ++output) {
        if (output->path.empty()) continue;
        for (auto other = std::next(output); other != std::end(outputs); ++other)
            if (!other->path.empty() && SameFile(output->path, other->path))
                return tarvic::Format("%s %s et %s %s sont un m\xEAme fichier : l'un \xE9" "craserait l'autre.",
                                      output->name, output->path.c_str(), other->name, other->path.c_str());
        for (const Named& input : inputs)
            if (!input.path.empty() && SameFile(output->path, input.path))
                return tarvic::Format("%s %s : %s.", output->name, output->path.c_str(), input.name);
        if (std::string kept = SpecialFileKept(output->path); !kept.empty())
            return tarvic::Format("%s %s", output->name, kept.c_str());
        // An archive only makes way for another.
        if (&output->path != &request.archive)
            if (std::string kept = ArchiveKept(output->path); !kept.empty())
                return tarvic::Format("%s %s", output->name, kept.c_str());
    }
    return {};
}

std::string CheckOutputs(const Request& request)
{
    for (const std::string* path : {&request.csv, &request.png, &request.archive, &request.json, &request.report}) {
        if (path->empty()) continue;
        const std::string folder = Folder(*path);
        if (::access(folder.c_str(), W_OK | X_OK) != 0)
            return tarvic::Format("Impossible d'\xE9" "crire %s : le dossier %s %s.", path->c_str(), folder.c_str(),
                                  errno == ENOENT ? "n'existe pas" : "est interdit en \xE9" "criture");
    }
    return {};
}

int OutputsStatus(const Request& request, const std::string& profilePath)
{
    if (std::string error = RefusedOutputs(request, profilePath); !error.empty()) {
        Complain(error);
        return kExitUsage;
    }
    if (std::string error = CheckOutputs(request); !error.empty()) {
        Complain(error);
        return kExitUnavailable;
    }
    return kExitDone;
}

bool WriteOutputs(const Request& request, const Settings& settings, Elements& elements,
                  const std::optional<std::string>& csvResult, const LabOutputs& lab)
{
    CEnregistrement& recording = *elements.recording;
    WrittenFiles files;
    const auto result = [&](const std::string& path, const std::string& error) { files.Add(path, error); };
    if (!request.csv.empty())
        result(request.csv,
               csvResult ? *csvResult
                         : WriteCsv(request.csv, recording, ResultColumns(settings, elements), PeriodMs(recording),
                                    BlocksAcquired(recording), request.csvFormat.value_or(CsvFormat::Rfc4180)));
    if (!request.png.empty()) {
        RequireGuiApplication();
        PlotContent plot = MakePlot(settings, elements);
        plot.overlays.insert(plot.overlays.end(), lab.overlays.begin(), lab.overlays.end());
        result(request.png, SavePlot(request.png, recording, plot));
    }
    if (!request.archive.empty()) result(request.archive, SaveArchive(request.archive, settings, elements));
    if (!request.json.empty() && !lab.keptJson.empty()) {
        result(request.json, WriteResultsText(request.json, lab.keptJson));
    } else if (!request.json.empty()) {
        RunReport report = lab.report;
        ReportRun(settings, elements, report);
        result(request.json, WriteResultsJson(request.json, report));
    }
    Write(stdout, SummaryText(settings, elements));
    Write(stdout, lab.text);
    files.TellWritten();
    return files.Ok();
}

}  // namespace banc::cli
