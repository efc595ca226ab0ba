#pragma once

#include <QWidget>

#include "engine/outputs/Synoptic.h"

namespace banc::window {

// The synoptic drawn on a widget, scaled to fit it; a click hit-tests the items.
class SynopticView : public QWidget {
    Q_OBJECT

public:
    explicit SynopticView(QWidget* parent = nullptr);

    Synoptic& Items() { return m_synoptic; }
    // The widget's point of a logical one, and back.
    QPoint ToWidget(CPoint logical) const;
    CPoint ToLogical(QPoint point) const;
    QSize sizeHint() const override;

signals:
    void itemClicked(int number);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    double Scale() const;

    Synoptic m_synoptic;
};

}  // namespace banc::window
