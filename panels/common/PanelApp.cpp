#include "PanelApp.h"

#include <cstdio>
#include <memory>

#include <QApplication>

#include "PanelArguments.h"
#include "PanelDlg.h"
#include "PanelIcon.h"
#include "PanelRoom.h"
#include "tarvic/platform/IniProfile.h"
#include "tarvic/platform/QtFrench.h"
#include "tarvic/platform/SignalClose.h"

namespace {

std::vector<std::string> Arguments(const QStringList& arguments)
{
    std::vector<std::string> args;
    for (const QString& argument : arguments) args.push_back(argument.toLocal8Bit().toStdString());
    return args;
}

// Printed, then the status the program ends with; none when the panel is to open.
std::optional<int> Answered(const PanelArguments& answer)
{
    std::fputs(answer.output.c_str(), stdout);
    std::fputs(answer.errors.c_str(), stderr);
    return answer.exitStatus;
}

}  // namespace

int RunPanelApp(int argc, char** argv, const PanelVariant& variant)
{
    // --help and --version are for a terminal, where there may be no display.
    if (const auto status = Answered(AnswerHelp(std::vector<std::string>(argv, argv + argc), variant))) return *status;
    QApplication application(argc, argv);
    SetUpPanelApp(application, variant);
    const auto profile = std::make_shared<tarvic::IniProfile>(tarvic::DefaultProfilePath(variant.name));
    tarvic::SetProfile(profile);
    // Qt has taken its own options (-platform...): the rest are the panel's.
    const PanelArguments answer = ReadPanelArguments(Arguments(QApplication::arguments()), variant, *profile);
    if (const auto status = Answered(answer)) return *status;
    if (!answer.mqtt.On()) return RunPanels(variant);
    CPanelRoom room(answer.mqtt, variant);
    return RunPanels(variant, &room);
}

void SetUpPanelApp(QApplication& application, const PanelVariant& variant)
{
    QApplication::setApplicationName(QString::fromLatin1(variant.name));
    QApplication::setWindowIcon(PanelIcon());
    tarvic::SpeakFrench(application);
}

int RunPanels(const PanelVariant& variant, CPanelRoom* room)
{
    const tarvic::SignalClose closer;
    for (;;) {
        CPanelDlg panel(variant);
        if (room) panel.SetRoom(room);
        panel.DoModal();
        if (!panel.PortChange() || closer.Received() != 0) return 0;
    }
}
