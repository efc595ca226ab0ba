#pragma once

#include <QWidget>

#include <vector>

#include <tarvic/platform/Gdi.h>

#include "salle/Room.h"

class CDC;

namespace salle {

// A tile's small trend, or the details' live plot, drawn through the
// library's device context as the tests record it.
class TrendView : public QWidget {
public:
    enum class Kind { Tile, Live };
    TrendView(Kind kind, QWidget* parent = nullptr);

    // A tile's trend in its colour; the live plot shows every measure.
    void Show(std::vector<Trend> trends, COLORREF colour, Clock::time_point now);
    // Draws what it shows on `dc`, over `size`.
    void Draw(CDC& dc, QSize size) const;
    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    Kind m_kind;
    std::vector<Trend> m_trends;
    COLORREF m_colour = 0;
    Clock::time_point m_now{};
};

}  // namespace salle
