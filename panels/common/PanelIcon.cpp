#include "PanelIcon.h"

QIcon PanelIcon()
{
    // Kept in a static library: its resources are registered by hand.
    static const bool registered = [] {
        Q_INIT_RESOURCE(panels);
        return true;
    }();
    (void)registered;
    return QIcon(QStringLiteral(":/panels/panel.png"));
}
