#pragma once

#include <QPointer>
#include <QPushButton>
#include <cstdint>
#include <string>

#include "tarvic/platform/DC.h"
#include "tarvic/platform/Export.h"

// Item states of an owner-drawn control.
constexpr unsigned ODS_SELECTED = 0x0001;
constexpr unsigned ODS_DISABLED = 0x0004;
constexpr unsigned ODS_FOCUS = 0x0010;

// A push button that draws itself: an icon beside its caption (left or
// right) or alone, its own font and caption colour, the mnemonic underline,
// a disabled (embossed) look, and a yellow tip box shown while the mouse is
// over it.
class TARVIC_EXPORT CIconButton : public QPushButton {
    Q_OBJECT

public:
    explicit CIconButton(QWidget* parent = nullptr);
    CIconButton(const QString& text, QWidget* parent);
    ~CIconButton() override;

    // Font setters rebuild the caption font.
    void SetItalic(bool italic);
    void SetUnderline(bool underline);
    void SetStrikeOut(bool strikeOut);
    void SetWeight(int weight);
    void SetHeight(int height);
    void SetWidth(int width);
    void SetFaceName(const std::string& face);
    // These take effect at the next painting.
    void SetIconID(unsigned id) { m_iconID = id; }
    void SetIconSize(int cx, int cy) { m_tailleIcone = CSize(cx, cy); }
    void SetIconRight(bool right) { m_iconeADroite = right; }
    void SetTextColor(COLORREF color) { m_couleurTexte = color; }
    void SetTipText(const std::string& text);
    // Enable or disable, and repaint at once.
    void Enable();
    void Disable();

    // Draws the button in the item rectangle (left and top 0) for the item
    // state (ODS_* flags).
    void DrawItem(CDC* pDC, const CRect& item, unsigned state);
    // The tip box on a device context of the parent's client area.
    void DrawTip(CDC* pDC) const;

    bool IsTipVisible() const { return m_bulleVisible; }
    // The tip box in the parent's client coordinates.
    CRect TipRect() const { return m_rectBulle; }
    CSize IconSize() const { return m_tailleIcone; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void leaveEvent(QEvent* event) override;

private:
    void NewFont();
    // Removes the first "&"; its position, or -1.
    static int DelAmpersand(std::string& caption);
    void OnNcHitTest(QPoint screenPoint);
    void OnMouseMove(QPoint clientPoint);
    void ShowTip();
    void HideTip();
    void DrawTipBoxAndText();
    void DrawUnderline(CDC& dc, const std::string& caption, int position, CPoint textAt, int textHeight) const;

    bool m_iconeADroite = false;
    int m_hauteur = 0;
    int m_largeur = 0;
    int m_graisse = 0;
    bool m_italique = false;
    bool m_souligne = false;
    bool m_barre = false;
    std::uint8_t m_famille = 0;
    std::uint8_t m_jeu = 0;
    CSize m_tailleIcone;
    unsigned m_iconID = 0;
    COLORREF m_couleurTexte;
    CFont m_police;
    std::string m_nomPolice;
    bool m_bulleActive = false;
    bool m_bulleVisible = false;
    std::string m_texteBulle;
    CSize m_tailleBulle;
    QPoint m_pointBulle;
    CRect m_rectBulle;
    // The box on the parent; hiding it lets the parent repaint what it hid.
    QPointer<QWidget> m_bulle;
};
