#include "window/KeptRun.h"

#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

#include "window/FileDialogs.h"
#include "window/Latin1.h"
#include "window/Workbench.h"

namespace banc::window {
namespace {

// A name of its own: a run kept the same minute as another does not replace it.
QString FreePath(const QString& folder, const QString& name)
{
    const QFileInfo info(name);
    QString path = folder + "/" + name;
    for (int n = 2; QFileInfo::exists(path); ++n)
        path = QStringLiteral("%1/%2-%3.%4").arg(folder, info.completeBaseName()).arg(n).arg(info.suffix());
    return path;
}

}  // namespace

KeptRun KeepUnsavedRun(Workbench& workbench)
{
    if (!workbench.Unsaved()) return {};
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) + "/tarvic";
    if (!QDir().mkpath(folder)) return {{}, Q("Le dossier %1 ne peut pas \xEAtre cr\xE9\xE9.").arg(folder)};
    const std::string name =
        SuggestedName(workbench.ShownSettings(), Prompts::File::Archive, QDateTime::currentDateTime());
    const QString path = FreePath(folder, QString::fromLocal8Bit(name.c_str()));
    if (std::string error = workbench.SaveArchive(path.toLocal8Bit().toStdString()); !error.empty())
        return {{}, Q(error)};
    workbench.Choices().SaveKeptRun(path.toLocal8Bit().toStdString());
    return {path, {}};
}

QString KeptRunReport(const KeptRun& kept)
{
    if (!kept.error.isEmpty()) return Q("L'essai non enregistr\xE9 n'a pas pu \xEAtre gard\xE9 : ") + kept.error;
    if (!kept.path.isEmpty()) return Q("Essai non enregistr\xE9 gard\xE9 dans %1.").arg(kept.path);
    return {};
}

QString TakeKeptRunNotice(Workbench& workbench)
{
    const std::string kept = workbench.Choices().KeptRun();
    if (kept.empty()) return {};
    workbench.Choices().SaveKeptRun("");
    return KeptRunReport({QString::fromLocal8Bit(kept.c_str()), {}});
}

}  // namespace banc::window
