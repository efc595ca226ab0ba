#pragma once

#include <QImage>
#include <cstdint>
#include <string>

#include "tarvic/platform/Export.h"

// The drawing objects of the device context: colours, logical pens, brushes
// and fonts, with the numeric codes the drawing code was written against.

using COLORREF = std::uint32_t;  // 0x00BBGGRR

constexpr COLORREF RGB(int red, int green, int blue)
{
    return static_cast<COLORREF>((red & 0xFF) | ((green & 0xFF) << 8) | ((blue & 0xFF) << 16));
}
constexpr int GetRValue(COLORREF color) { return static_cast<int>(color & 0xFF); }
constexpr int GetGValue(COLORREF color) { return static_cast<int>((color >> 8) & 0xFF); }
constexpr int GetBValue(COLORREF color) { return static_cast<int>((color >> 16) & 0xFF); }

// Pen styles.
constexpr int PS_SOLID = 0;
constexpr int PS_DASH = 1;
constexpr int PS_DOT = 2;
constexpr int PS_DASHDOT = 3;
constexpr int PS_DASHDOTDOT = 4;
constexpr int PS_NULL = 5;
constexpr int PS_INSIDEFRAME = 6;

// Brush styles.
constexpr int BS_SOLID = 0;
constexpr int BS_NULL = 1;
constexpr int BS_HOLLOW = BS_NULL;

// Stock objects.
constexpr int WHITE_BRUSH = 0;
constexpr int LTGRAY_BRUSH = 1;
constexpr int GRAY_BRUSH = 2;
constexpr int DKGRAY_BRUSH = 3;
constexpr int BLACK_BRUSH = 4;
constexpr int NULL_BRUSH = 5;
constexpr int HOLLOW_BRUSH = NULL_BRUSH;
constexpr int WHITE_PEN = 6;
constexpr int BLACK_PEN = 7;
constexpr int NULL_PEN = 8;
constexpr int SYSTEM_FONT = 13;
constexpr int DEFAULT_GUI_FONT = 17;

// Background modes.
constexpr int TRANSPARENT = 1;
constexpr int OPAQUE = 2;

// Text alignment flags: one horizontal and one vertical choice, or-ed.
constexpr unsigned TA_LEFT = 0;
constexpr unsigned TA_RIGHT = 2;
constexpr unsigned TA_CENTER = 6;
constexpr unsigned TA_TOP = 0;
constexpr unsigned TA_BOTTOM = 8;
constexpr unsigned TA_BASELINE = 24;

// Font weights, character sets, qualities, pitches and families.
constexpr int FW_DONTCARE = 0;
constexpr int FW_NORMAL = 400;
constexpr int FW_BOLD = 700;
constexpr std::uint8_t ANSI_CHARSET = 0;
constexpr std::uint8_t DEFAULT_CHARSET = 1;
constexpr std::uint8_t SYMBOL_CHARSET = 2;
constexpr std::uint8_t DEFAULT_QUALITY = 0;
constexpr std::uint8_t DRAFT_QUALITY = 1;
constexpr std::uint8_t PROOF_QUALITY = 2;
constexpr std::uint8_t NONANTIALIASED_QUALITY = 3;
constexpr std::uint8_t ANTIALIASED_QUALITY = 4;
constexpr std::uint8_t DEFAULT_PITCH = 0;
constexpr std::uint8_t FIXED_PITCH = 1;
constexpr std::uint8_t VARIABLE_PITCH = 2;
constexpr std::uint8_t FF_DONTCARE = 0x00;
constexpr std::uint8_t FF_ROMAN = 0x10;
constexpr std::uint8_t FF_SWISS = 0x20;
constexpr std::uint8_t FF_MODERN = 0x30;
constexpr std::uint8_t FF_SCRIPT = 0x40;
constexpr std::uint8_t FF_DECORATIVE = 0x50;

// A logical font. A positive height is the character cell height (ascent plus
// descent), a negative one the character height (em size), 0 the default; the
// width is the average character width, 0 for the face's natural proportions.
struct LOGFONT {
    int lfHeight = 0;
    int lfWidth = 0;
    int lfEscapement = 0;
    int lfOrientation = 0;
    int lfWeight = FW_DONTCARE;
    std::uint8_t lfItalic = 0;
    std::uint8_t lfUnderline = 0;
    std::uint8_t lfStrikeOut = 0;
    std::uint8_t lfCharSet = ANSI_CHARSET;
    std::uint8_t lfOutPrecision = 0;
    std::uint8_t lfClipPrecision = 0;
    std::uint8_t lfQuality = DEFAULT_QUALITY;
    std::uint8_t lfPitchAndFamily = DEFAULT_PITCH | FF_DONTCARE;
    std::string lfFaceName;

    friend bool operator==(const LOGFONT&, const LOGFONT&) = default;
    friend auto operator<=>(const LOGFONT&, const LOGFONT&) = default;
};

struct LOGPEN {
    int lopnStyle = PS_SOLID;
    int lopnWidth = 1;
    COLORREF lopnColor = 0;

    friend bool operator==(const LOGPEN&, const LOGPEN&) = default;
};

struct LOGBRUSH {
    int lbStyle = BS_SOLID;
    COLORREF lbColor = 0;

    friend bool operator==(const LOGBRUSH&, const LOGBRUSH&) = default;
};

// Base of the objects a device context selects. An object must be created
// before it can be selected; a device context draws with a copy of the
// object's description, so deleting an object never disturbs a drawing, but
// the pointer SelectObject hands back is the caller's to keep valid.
class TARVIC_EXPORT CGdiObject {
public:
    virtual ~CGdiObject();
    bool IsCreated() const { return m_created; }
    // Forgets the description; the object can be created again. Stock
    // objects are never deleted.
    bool DeleteObject();

protected:
    CGdiObject() = default;
    CGdiObject(const CGdiObject&) = default;
    CGdiObject& operator=(const CGdiObject&) = default;
    bool m_created = false;

private:
    friend CGdiObject* GetStockObject(int index);
    bool m_stock = false;
};

class TARVIC_EXPORT CPen : public CGdiObject {
public:
    CPen() = default;
    CPen(int style, int width, COLORREF color);
    bool CreatePen(int style, int width, COLORREF color);
    const LOGPEN& GetLogPen() const { return m_log; }

private:
    LOGPEN m_log;
};

class TARVIC_EXPORT CBrush : public CGdiObject {
public:
    CBrush() = default;
    explicit CBrush(COLORREF color);
    bool CreateSolidBrush(COLORREF color);
    bool CreateBrushIndirect(const LOGBRUSH* log);
    const LOGBRUSH& GetLogBrush() const { return m_log; }

private:
    LOGBRUSH m_log;
};

class TARVIC_EXPORT CFont : public CGdiObject {
public:
    bool CreateFontIndirect(const LOGFONT* log);
    const LOGFONT& GetLogFont() const { return m_log; }

private:
    LOGFONT m_log;
};

// An icon of the application: its resource number and its image. A null
// image draws nothing.
class TARVIC_EXPORT CIcon {
public:
    CIcon() = default;
    CIcon(unsigned id, QImage image);
    unsigned GetID() const { return m_id; }
    const QImage& GetImage() const { return m_image; }

private:
    unsigned m_id = 0;
    QImage m_image;
};

// The library's own stock objects; null for an unknown index.
TARVIC_EXPORT CGdiObject* GetStockObject(int index);
