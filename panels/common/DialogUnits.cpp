#include "DialogUnits.h"

#include <QFontMetrics>

QFont DialogFont()
{
    QFont font(QStringLiteral("MS Sans Serif"), 8);
    font.setStyleHint(QFont::SansSerif);
    return font;
}

QSize DialogUnitsToPixels(const QFont& font, DialogUnits units)
{
    const QFontMetrics metrics(font);
    static const QString kAlphabet = QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz");
    // Rounded as the host rounds its dialog base units.
    const int baseX = (metrics.horizontalAdvance(kAlphabet) / 26 + 1) / 2;
    const int baseY = metrics.height();
    return {(units.width * baseX + 2) / 4, (units.height * baseY + 4) / 8};
}
