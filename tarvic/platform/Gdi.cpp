#include "tarvic/platform/Gdi.h"

#include <iterator>
#include <utility>

CGdiObject::~CGdiObject() = default;

bool CGdiObject::DeleteObject()
{
    if (!m_created || m_stock) return false;
    m_created = false;
    return true;
}

CPen::CPen(int style, int width, COLORREF color) { CreatePen(style, width, color); }

bool CPen::CreatePen(int style, int width, COLORREF color)
{
    m_log = LOGPEN{style, width, color};
    m_created = true;
    return true;
}

CBrush::CBrush(COLORREF color) { CreateSolidBrush(color); }

bool CBrush::CreateSolidBrush(COLORREF color)
{
    m_log = LOGBRUSH{BS_SOLID, color};
    m_created = true;
    return true;
}

bool CBrush::CreateBrushIndirect(const LOGBRUSH* log)
{
    if (log == nullptr) return false;
    m_log = *log;
    m_created = true;
    return true;
}

bool CFont::CreateFontIndirect(const LOGFONT* log)
{
    if (log == nullptr) return false;
    m_log = *log;
    m_created = true;
    return true;
}

CIcon::CIcon(unsigned id, QImage image) : m_id(id), m_image(std::move(image)) {}

namespace {

CBrush MakeStockBrush(int style, COLORREF color)
{
    CBrush brush;
    const LOGBRUSH log{style, color};
    brush.CreateBrushIndirect(&log);
    return brush;
}

CFont MakeStockFont(const char* face, int height, int weight)
{
    LOGFONT log;
    log.lfHeight = height;
    log.lfWeight = weight;
    log.lfPitchAndFamily = VARIABLE_PITCH | FF_SWISS;
    log.lfFaceName = face;
    CFont font;
    font.CreateFontIndirect(&log);
    return font;
}

}  // namespace

CGdiObject* GetStockObject(int index)
{
    struct Stock {
        CBrush white = MakeStockBrush(BS_SOLID, RGB(255, 255, 255));
        CBrush lightGray = MakeStockBrush(BS_SOLID, RGB(192, 192, 192));
        CBrush gray = MakeStockBrush(BS_SOLID, RGB(128, 128, 128));
        CBrush darkGray = MakeStockBrush(BS_SOLID, RGB(64, 64, 64));
        CBrush black = MakeStockBrush(BS_SOLID, RGB(0, 0, 0));
        CBrush hollow = MakeStockBrush(BS_NULL, 0);
        CPen whitePen{PS_SOLID, 1, RGB(255, 255, 255)};
        CPen blackPen{PS_SOLID, 1, RGB(0, 0, 0)};
        CPen nullPen{PS_NULL, 1, 0};
        CFont systemFont = MakeStockFont("Liberation Sans", 16, FW_BOLD);
        CFont guiFont = MakeStockFont("Liberation Sans", -11, FW_NORMAL);
        // Indexed by the stock number; null where the number is unused.
        CGdiObject* byIndex[18] = {&white,    &lightGray,  &gray,    &darkGray, &black,  &hollow,
                                   &whitePen, &blackPen,   &nullPen, nullptr,   nullptr, nullptr,
                                   nullptr,   &systemFont, nullptr,  nullptr,   nullptr, &guiFont};
        Stock()
        {
            for (CGdiObject* object : byIndex)
                if (object != nullptr) object->m_stock = true;
        }
    };
    static Stock stock;
    if (index < 0 || index >= static_cast<int>(std::size(stock.byIndex))) return nullptr;
    return stock.byIndex[index];
}
