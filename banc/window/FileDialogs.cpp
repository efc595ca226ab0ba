#include "window/FileDialogs.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

#include "window/WindowProfile.h"

namespace banc::window {
namespace {

bool IsFolder(const std::string& path)
{
    return !path.empty() && QFileInfo(QString::fromLocal8Bit(path.c_str())).isDir();
}

}  // namespace

std::string StartFolder(const std::string& remembered, const std::string& documents, const std::string& home)
{
    if (IsFolder(remembered)) return remembered;
    if (IsFolder(documents)) return documents;
    return home;
}

std::string SuggestedName(const Settings& settings, Prompts::File file, const QDateTime& when)
{
    const QString date = when.toString(QStringLiteral("yyyy-MM-dd-HH'h'mm"));
    return std::string(settings.bench->name) + "-" + settings.mode->name + "-" + date.toStdString() + "." +
           FileSuffix(file);
}

FileChoice::FileChoice(Prompts& prompts, WindowProfile& profile) : m_prompts(prompts), m_profile(profile) {}

std::string FileChoice::Folder() const
{
    const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    return StartFolder(m_profile.Folder(), documents.toLocal8Bit().toStdString(),
                       QDir::homePath().toLocal8Bit().toStdString());
}

std::string FileChoice::Remember(const std::string& path)
{
    if (!path.empty())
        m_profile.SaveFolder(
            QFileInfo(QString::fromLocal8Bit(path.c_str())).absolutePath().toLocal8Bit().toStdString());
    return path;
}

std::string FileChoice::Open(QWidget* parent) { return Remember(m_prompts.OpenPath(parent, Folder())); }

std::string FileChoice::Save(QWidget* parent, Prompts::File file, const Settings& shown, Prompts::File* chosen)
{
    const std::string suggested = Folder() + "/" + SuggestedName(shown, file, QDateTime::currentDateTime());
    return Remember(m_prompts.SavePath(parent, file, suggested, chosen));
}

}  // namespace banc::window
