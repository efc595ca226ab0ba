#include "PanelApp.h"

#include <QApplication>
#include <QLocale>

#include "PanelDlg.h"
#include "PanelIcon.h"
#include "SignalClose.h"
#include "tarvic/platform/IniProfile.h"

int RunPanelApp(int argc, char** argv, const PanelVariant& variant)
{
    QApplication application(argc, argv);
    QApplication::setApplicationName(QString::fromLatin1(variant.name));
    QApplication::setWindowIcon(PanelIcon());
    QLocale::setDefault(QLocale(QLocale::French, QLocale::France));
    tarvic::SetProfile(std::make_shared<tarvic::IniProfile>(tarvic::DefaultProfilePath(variant.name)));
    return RunPanels(variant);
}

int RunPanels(const PanelVariant& variant)
{
    const CloseOnSignals closer;
    for (;;) {
        CPanelDlg panel(variant);
        panel.DoModal();
        if (!panel.PortChange() || closer.Requested()) return 0;
    }
}
