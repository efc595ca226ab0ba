#include "tarvic/widgets/IconButton.h"

#include <QEnterEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QStyle>
#include <optional>

#include "tarvic/platform/FontMap.h"
#include "tarvic/platform/PainterDC.h"
#include "tarvic/platform/Text.h"
#include "tarvic/widgets/ButtonDrawing.h"
#include "tarvic/widgets/GdiScope.h"

namespace {

// The tip box: a child of the button's parent, above its siblings, painted
// by the button.
class TipBox : public QWidget {
public:
    TipBox(const CIconButton& owner, QWidget* parent) : QWidget(parent), m_owner(owner)
    {
        setAttribute(Qt::WA_TransparentForMouseEvents);
    }

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter painter(this);
        // The owner draws in the parent's coordinates.
        painter.translate(-pos());
        CPainterDC dc(painter);
        m_owner.DrawTip(&dc);
    }

private:
    const CIconButton& m_owner;
};

// The font of the device context a window gets for drawing on itself.
const LOGFONT& WindowFont() { return dynamic_cast<CFont*>(GetStockObject(SYSTEM_FONT))->GetLogFont(); }

}  // namespace

CIconButton::CIconButton(QWidget* parent) : CIconButton(QString(), parent) {}

CIconButton::CIconButton(const QString& text, QWidget* parent)
    : QPushButton(text, parent), m_tailleIcone(style()->pixelMetric(QStyle::PM_LargeIconSize) / 2,
                                               style()->pixelMetric(QStyle::PM_LargeIconSize) / 2),
      m_couleurTexte(tarvic::ColorRefOf(palette().color(QPalette::ButtonText)))
{
    // Moves over the button must arrive without a pressed mouse button.
    setMouseTracking(true);
}

CIconButton::~CIconButton()
{
    HideTip();
    if (mouseGrabber() == this) releaseMouse();
    delete m_bulle;
}

void CIconButton::NewFont()
{
    m_police.DeleteObject();
    LOGFONT log;
    log.lfHeight = m_hauteur;
    log.lfWidth = m_largeur;
    log.lfWeight = m_graisse;
    log.lfItalic = m_italique ? 1 : 0;
    log.lfUnderline = m_souligne ? 1 : 0;
    log.lfStrikeOut = m_barre ? 1 : 0;
    log.lfCharSet = m_jeu;
    log.lfPitchAndFamily = m_famille;
    log.lfFaceName = m_nomPolice;
    m_police.CreateFontIndirect(&log);
}

void CIconButton::SetItalic(bool italic)
{
    m_italique = italic;
    NewFont();
}

void CIconButton::SetUnderline(bool underline)
{
    m_souligne = underline;
    NewFont();
}

void CIconButton::SetStrikeOut(bool strikeOut)
{
    m_barre = strikeOut;
    NewFont();
}

void CIconButton::SetWeight(int weight)
{
    m_graisse = weight;
    NewFont();
}

void CIconButton::SetHeight(int height)
{
    m_hauteur = height;
    NewFont();
}

void CIconButton::SetWidth(int width)
{
    m_largeur = width;
    NewFont();
}

void CIconButton::SetFaceName(const std::string& face)
{
    m_nomPolice = face;
    NewFont();
}

void CIconButton::SetTipText(const std::string& text)
{
    m_texteBulle = text;
    m_bulleActive = true;
}

void CIconButton::Enable()
{
    setEnabled(true);
    repaint();
}

void CIconButton::Disable()
{
    setEnabled(false);
    repaint();
}

int CIconButton::DelAmpersand(std::string& caption)
{
    const int position = tarvic::Find(caption, "&");
    if (position >= 0) caption.erase(static_cast<std::size_t>(position), 1);
    return position;
}

void CIconButton::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    CPainterDC dc(painter);
    // A dialog's controls draw with the dialog font unless given their own.
    dc.SelectStockObject(DEFAULT_GUI_FONT);
    unsigned state = 0;
    if (isDown()) state |= ODS_SELECTED;
    if (!isEnabled()) state |= ODS_DISABLED;
    if (hasFocus()) state |= ODS_FOCUS;
    DrawItem(&dc, CRect(0, 0, width(), height()), state);
}

void CIconButton::DrawItem(CDC* pDC, const CRect& item, unsigned state)
{
    if (pDC == nullptr) return;
    CDC& dc = *pDC;
    const tarvic::ButtonColors colors = tarvic::ButtonColors::FromPalette(palette());
    const bool selected = (state & ODS_SELECTED) != 0;
    const bool disabled = (state & ODS_DISABLED) != 0;
    CPen highlightPen(PS_SOLID, 1, colors.highlight);
    CPen darkShadowPen(PS_SOLID, 1, colors.darkShadow);

    if (selected && m_bulleActive && m_bulleVisible) HideTip();

    tarvic::ScopedSelection<CBrush> hollow(dc, dynamic_cast<CBrush*>(GetStockObject(HOLLOW_BRUSH)));
    dc.FillSolidRect(item, colors.face);
    tarvic::DrawPushFrame(dc, item, selected, colors);

    const int width = item.right;
    const int height = item.bottom;
    const auto [cx, cy] = m_tailleIcone;
    std::string caption = text().toLatin1().toStdString();
    CPoint iconAt((width - cx) / 2, (height - cy) / 2);
    CPoint textAt;
    CSize extent;
    int ampersand = -1;
    std::optional<tarvic::ScopedSelection<CFont>> font;
    if (!caption.empty()) {
        ampersand = DelAmpersand(caption);
        if (m_police.IsCreated()) font.emplace(dc, &m_police);
        extent = dc.GetTextExtent(caption);
        dc.SetBkMode(TRANSPARENT);
        dc.SetTextColor(m_couleurTexte);
        const int textY = height / 2 - extent.cy / 2;
        if (m_iconID == 0)
            textAt = CPoint(width / 2 - extent.cx / 2, textY);
        else if (m_iconeADroite)
            textAt = CPoint((width - cx) / 2 - extent.cx / 2, textY);
        else
            textAt = CPoint((width - cx) / 2 - extent.cx / 2 + cx, textY);
        iconAt = CPoint(m_iconeADroite ? width - cx - 6 : 6, (height - cy + 1) / 2);
    }
    const CIcon icon = tarvic::LoadIconResource(m_iconID, m_tailleIcone);
    const bool hasIcon = !icon.GetImage().isNull();
    if (selected) {
        textAt = textAt + CPoint(1, 1);
        iconAt = iconAt + CPoint(1, 1);
    }
    iconAt = iconAt + item.TopLeft();

    if (!disabled) {
        if (!caption.empty()) dc.TextOut(textAt.x, textAt.y, caption);
        if (hasIcon) dc.DrawIcon(iconAt.x, iconAt.y, icon, cx, cy);
    } else {
        if (!caption.empty()) tarvic::DrawDisabledText(dc, textAt, caption, colors);
        if (hasIcon) tarvic::DrawDisabledIcon(dc, iconAt, icon, m_tailleIcone, colors);
    }

    if ((state & ODS_FOCUS) != 0) {
        tarvic::DrawFrame(dc, item, colors.darkShadow);
        tarvic::DrawFocusRect(dc, CRect(item.left + 4, item.top + 4, item.right - 4, item.bottom - 4));
    }

    if (selected) {
        // The sunken border along the item's own edges.
        const int right = item.right - 1;
        const int bottom = item.bottom - 1;
        {
            tarvic::ScopedSelection<CPen> pen(dc, &darkShadowPen);
            dc.MoveTo(item.left, bottom);
            dc.LineTo(item.left, item.top);
            dc.LineTo(right, item.top);
        }
        tarvic::ScopedSelection<CPen> pen(dc, &highlightPen);
        dc.LineTo(right, bottom);
        dc.LineTo(item.left, bottom);
    }

    if (ampersand >= 0 && !disabled) DrawUnderline(dc, caption, ampersand, textAt, extent.cy);
}

void CIconButton::DrawUnderline(CDC& dc, const std::string& caption, int position, CPoint textAt, int textHeight) const
{
    // An "&" at the very end marks nothing.
    if (position >= static_cast<int>(caption.size())) return;
    const int from = textAt.x + dc.GetTextExtent(tarvic::Mid(caption, 0, position)).cx;
    const int characterWidth = dc.GetTextExtent(tarvic::Mid(caption, position, 1)).cx;
    tarvic::ScopedPen pen(dc, PS_SOLID, 1, m_couleurTexte);
    dc.MoveTo(from, textAt.y + textHeight);
    dc.LineTo(from + characterWidth, textAt.y + textHeight);
}

void CIconButton::enterEvent(QEnterEvent* event)
{
    OnNcHitTest(event->globalPosition().toPoint());
    QPushButton::enterEvent(event);
}

void CIconButton::mouseMoveEvent(QMouseEvent* event)
{
    const QPoint local = event->position().toPoint();
    if (rect().contains(local))
        OnNcHitTest(event->globalPosition().toPoint());
    else
        OnMouseMove(local);
    QPushButton::mouseMoveEvent(event);
}

void CIconButton::leaveEvent(QEvent* event)
{
    // Where the window system grants no capture, leaving is the last news of
    // the mouse.
    OnMouseMove(QPoint(-1, -1));
    QPushButton::leaveEvent(event);
}

void CIconButton::OnNcHitTest(QPoint screenPoint)
{
    if (!m_bulleActive || m_bulleVisible) return;
    m_pointBulle = screenPoint;
    ShowTip();
}

void CIconButton::OnMouseMove(QPoint clientPoint)
{
    if (rect().contains(clientPoint)) return;
    HideTip();
    if (mouseGrabber() == this) releaseMouse();
}

void CIconButton::ShowTip()
{
    if (parentWidget() == nullptr) return;
    if (isVisible()) grabMouse();
    const CSize extent = tarvic::FontTextExtent(WindowFont(), m_texteBulle);
    m_tailleBulle = CSize(extent.cx + 4, extent.cy + 4);
    DrawTipBoxAndText();
    m_bulleVisible = true;
}

void CIconButton::DrawTipBoxAndText()
{
    QWidget* parent = parentWidget();
    if (!m_bulleActive || m_bulleVisible || parent == nullptr) return;
    QPoint topLeft = m_pointBulle;
    const int parentRight = parent->mapToGlobal(QPoint(parent->width(), 0)).x();
    const int overflow = topLeft.x() + m_tailleBulle.cx - parentRight;
    if (overflow > 0) topLeft.rx() -= overflow + 5;
    topLeft = parent->mapFromGlobal(topLeft);
    m_rectBulle = CRect(topLeft.x(), topLeft.y(), topLeft.x() + m_tailleBulle.cx, topLeft.y() + m_tailleBulle.cy);
    if (m_bulle == nullptr) m_bulle = new TipBox(*this, parent);
    m_bulle->setGeometry(m_rectBulle.left, m_rectBulle.top, m_tailleBulle.cx, m_tailleBulle.cy);
    m_bulle->raise();
    m_bulle->show();
}

void CIconButton::DrawTip(CDC* pDC) const
{
    if (pDC == nullptr) return;
    tarvic::ScopedBlackPen pen(*pDC);
    tarvic::ScopedBrush yellow(*pDC, RGB(255, 255, 0));
    pDC->Rectangle(m_rectBulle);
    pDC->SetBkMode(TRANSPARENT);
    const unsigned align = pDC->SetTextAlign(TA_CENTER | TA_TOP);
    pDC->TextOut((m_rectBulle.left + m_rectBulle.right) / 2, m_rectBulle.top + 2, m_texteBulle);
    pDC->SetTextAlign(align);
}

void CIconButton::HideTip()
{
    if (!m_bulleVisible) return;
    if (m_bulle != nullptr) m_bulle->hide();
    m_bulleVisible = false;
}
