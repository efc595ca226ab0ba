#include "tarvic/platform/FontMap.h"

#include <QFontMetrics>
#include <QFontMetricsF>
#include <QGuiApplication>
#include <QStringList>
#include <algorithm>
#include <cmath>
#include <map>
#include <mutex>
#include <string>

namespace tarvic {
namespace {

constexpr int defaultCellHeight = 16;
constexpr int largestPixelSize = 4096;  // larger requests are clamped: no giant glyph caches

QString Latin1(std::string_view text) { return QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size())); }

struct FaceMapping {
    const char* requested;
    const char* installed;
};

// The Type 1 cut of the URW symbol face ("[urw]") maps its glyphs to Unicode;
// the OpenType cut only has a symbol-encoding table, which Qt reads as
// Latin-1. Qt's own substitution table does not keep a foundry, hence ours.
constexpr FaceMapping faceMappings[] = {
    {"Times New Roman", "Liberation Serif"}, {"Symbol", "Standard Symbols PS [urw]"}, {"Arial", "Liberation Sans"},
    {"MS Sans Serif", "Liberation Sans"},    {"Courier New", "Liberation Mono"},
};

// The installed face first, the requested one after it.
QStringList Families(const std::string& face)
{
    const QString requested = Latin1(face);
    for (const FaceMapping& mapping : faceMappings)
        if (requested.compare(QLatin1String(mapping.requested), Qt::CaseInsensitive) == 0)
            return {QLatin1String(mapping.installed), requested};
    return {requested};
}

int CellHeight(const LOGFONT& font)
{
    if (font.lfHeight == 0) return defaultCellHeight;
    return font.lfHeight > 0 ? font.lfHeight : -font.lfHeight;
}

QFont::StyleHint StyleHint(std::uint8_t pitchAndFamily)
{
    switch (pitchAndFamily & 0xF0) {
    case FF_ROMAN: return QFont::Serif;
    case FF_SWISS: return QFont::SansSerif;
    case FF_MODERN: return QFont::TypeWriter;
    case FF_SCRIPT: return QFont::Cursive;
    case FF_DECORATIVE: return QFont::Decorative;
    default: return QFont::AnyStyle;
    }
}

// Em size in pixels: a negative height is the em itself, a positive (or
// default) one the cell, which the face's ascent plus descent fills.
int PixelSize(const LOGFONT& font, const QFont& face)
{
    double em = CellHeight(font);
    if (font.lfHeight >= 0) {
        constexpr int reference = 1000;
        QFont probe(face);
        probe.setPixelSize(reference);
        const QFontMetricsF metrics(probe);
        const double cell = metrics.ascent() + metrics.descent();
        if (cell > 0) em = em * reference / cell;
    }
    return std::clamp(static_cast<int>(std::lround(em)), 1, largestPixelSize);
}

QFont Build(const LOGFONT& font)
{
    QFont qfont;
    qfont.setFamilies(Families(font.lfFaceName));
    qfont.setStyleHint(StyleHint(font.lfPitchAndFamily));
    qfont.setFixedPitch((font.lfPitchAndFamily & 0x03) == FIXED_PITCH);
    qfont.setWeight(
        static_cast<QFont::Weight>(font.lfWeight == FW_DONTCARE ? FW_NORMAL : std::clamp(font.lfWeight, 100, 900)));
    qfont.setItalic(font.lfItalic != 0);
    qfont.setUnderline(font.lfUnderline != 0);
    qfont.setStrikeOut(font.lfStrikeOut != 0);
    if (font.lfQuality == NONANTIALIASED_QUALITY) qfont.setStyleStrategy(QFont::NoAntialias);
    if (font.lfQuality == ANTIALIASED_QUALITY) qfont.setStyleStrategy(QFont::PreferAntialias);
    qfont.setPixelSize(PixelSize(font, qfont));
    if (font.lfWidth > 0) {
        const double natural = QFontMetricsF(qfont).averageCharWidth();
        if (natural > 0)
            qfont.setStretch(std::clamp(static_cast<int>(std::lround(100.0 * font.lfWidth / natural)), 1, 4000));
    }
    return qfont;
}

// The symbol encoding from 0x20: Greek letters in place of the Latin ones,
// mathematical signs in place of some punctuation.
constexpr char16_t symbolAscii[96] = {
    u' ',      u'!',      u'\u2200', u'#',      u'\u2203', u'%',      u'&',      u'\u220B',  // 0x20
    u'(',      u')',      u'\u2217', u'+',      u',',      u'\u2212', u'.',      u'/',       // 0x28
    u'0',      u'1',      u'2',      u'3',      u'4',      u'5',      u'6',      u'7',       // 0x30
    u'8',      u'9',      u':',      u';',      u'<',      u'=',      u'>',      u'?',       // 0x38
    u'\u2245', u'\u0391', u'\u0392', u'\u03A7', u'\u0394', u'\u0395', u'\u03A6', u'\u0393',  // 0x40
    u'\u0397', u'\u0399', u'\u03D1', u'\u039A', u'\u039B', u'\u039C', u'\u039D', u'\u039F',  // 0x48
    u'\u03A0', u'\u0398', u'\u03A1', u'\u03A3', u'\u03A4', u'\u03A5', u'\u03C2', u'\u03A9',  // 0x50
    u'\u039E', u'\u03A8', u'\u0396', u'[',      u'\u2234', u']',      u'\u22A5', u'_',       // 0x58
    u'\u203E', u'\u03B1', u'\u03B2', u'\u03C7', u'\u03B4', u'\u03B5', u'\u03C6', u'\u03B3',  // 0x60
    u'\u03B7', u'\u03B9', u'\u03D5', u'\u03BA', u'\u03BB', u'\u03BC', u'\u03BD', u'\u03BF',  // 0x68
    u'\u03C0', u'\u03B8', u'\u03C1', u'\u03C3', u'\u03C4', u'\u03C5', u'\u03D6', u'\u03C9',  // 0x70
    u'\u03BE', u'\u03C8', u'\u03B6', u'{',      u'|',      u'}',      u'\u223C', u' ',       // 0x78
};

struct SymbolHigh {
    unsigned char code;
    char16_t unicode;
};

// The upper half, as far as the drawings use it.
constexpr SymbolHigh symbolHigh[] = {
    {0xA3, u'\u2264'}, {0xA5, u'\u221E'}, {0xAC, u'\u2190'}, {0xAD, u'\u2191'}, {0xAE, u'\u2192'},
    {0xAF, u'\u2193'}, {0xB0, u'\u00B0'}, {0xB1, u'\u00B1'}, {0xB3, u'\u2265'}, {0xB4, u'\u00D7'},
    {0xB6, u'\u2202'}, {0xB7, u'\u2022'}, {0xB8, u'\u00F7'}, {0xB9, u'\u2260'}, {0xBA, u'\u2261'},
    {0xBB, u'\u2248'}, {0xD5, u'\u220F'}, {0xD6, u'\u221A'}, {0xE5, u'\u2211'}, {0xF2, u'\u222B'},
};

char16_t SymbolToUnicode(unsigned char code)
{
    if (code >= 0x20 && code < 0x80) return symbolAscii[code - 0x20];
    for (const SymbolHigh& entry : symbolHigh)
        if (entry.code == code) return entry.unicode;
    return code;
}

}  // namespace

QFont QFontFromLogFont(const LOGFONT& font)
{
    static std::mutex mutex;
    static std::map<LOGFONT, QFont> cache;
    constexpr std::size_t cacheLimit = 256;  // the drawings use a handful of fonts
    const std::lock_guard lock(mutex);
    if (auto found = cache.find(font); found != cache.end()) return found->second;
    if (cache.size() >= cacheLimit) cache.clear();
    return cache.emplace(font, Build(font)).first->second;
}

bool IsSymbolFont(const LOGFONT& font)
{
    return font.lfCharSet == SYMBOL_CHARSET ||
           Latin1(font.lfFaceName).compare(QLatin1String("Symbol"), Qt::CaseInsensitive) == 0;
}

QString QStringForFont(std::string_view text, const LOGFONT& font)
{
    if (!IsSymbolFont(font)) return Latin1(text);
    QString converted;
    converted.reserve(static_cast<qsizetype>(text.size()));
    for (char c : text) converted.append(QChar(SymbolToUnicode(static_cast<unsigned char>(c))));
    return converted;
}

CSize FontTextExtent(const LOGFONT& font, std::string_view text)
{
    if (qobject_cast<QGuiApplication*>(QCoreApplication::instance()) == nullptr) return FixedTextExtent(font, text);
    const QFontMetrics metrics(QFontFromLogFont(font));
    return {metrics.horizontalAdvance(QStringForFont(text, font)), metrics.height()};
}

CSize FixedTextExtent(const LOGFONT& font, std::string_view text)
{
    const int height = CellHeight(font);
    int advance = font.lfWidth > 0 ? font.lfWidth : std::max(1, height / 2);
    if (font.lfWeight >= 600) ++advance;
    const long long width = static_cast<long long>(text.size()) * advance;
    return {static_cast<int>(std::min<long long>(width, INT32_MAX)), height};
}

}  // namespace tarvic
