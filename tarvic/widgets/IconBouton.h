#pragma once

#include <QPushButton>

#include "tarvic/platform/DC.h"
#include "tarvic/platform/Export.h"

// A two-state indicator button: its icon on a red background when set, on a
// white one otherwise. Changing the state does not repaint it.
class TARVIC_EXPORT CIconBouton : public QPushButton {
    Q_OBJECT

public:
    explicit CIconBouton(QWidget* parent = nullptr);
    ~CIconBouton() override;

    void SetEtat(bool state) { m_etatBouton = state; }
    bool LitEtat() const { return m_etatBouton; }
    void SetIcon(int icon) { m_icone = icon; }

    // Nothing at all without an icon number.
    void DrawItem(CDC* pDC, const CRect& item) const;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    bool m_etatBouton = false;
    int m_icone = 0;
};
