#include "PanelApp.h"

#include <QApplication>

#include "PanelDlg.h"
#include "PanelIcon.h"
#include "tarvic/platform/IniProfile.h"
#include "tarvic/platform/QtFrench.h"
#include "tarvic/platform/SignalClose.h"

int RunPanelApp(int argc, char** argv, const PanelVariant& variant)
{
    QApplication application(argc, argv);
    SetUpPanelApp(application, variant);
    tarvic::SetProfile(std::make_shared<tarvic::IniProfile>(tarvic::DefaultProfilePath(variant.name)));
    return RunPanels(variant);
}

void SetUpPanelApp(QApplication& application, const PanelVariant& variant)
{
    QApplication::setApplicationName(QString::fromLatin1(variant.name));
    QApplication::setWindowIcon(PanelIcon());
    tarvic::SpeakFrench(application);
}

int RunPanels(const PanelVariant& variant)
{
    const tarvic::SignalClose closer;
    for (;;) {
        CPanelDlg panel(variant);
        panel.DoModal();
        if (!panel.PortChange() || closer.Received() != 0) return 0;
    }
}
