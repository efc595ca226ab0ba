#pragma once

#include <QLayout>
#include <QList>

namespace banc::window {

// Lays its widgets out left to right, each at its own size, and goes on to
// a new row when the next one would pass the right edge: a tool bar that
// wraps on a narrow screen instead of widening the window.
class FlowLayout : public QLayout {
public:
    explicit FlowLayout(QWidget* parent = nullptr, int spacing = 6);
    ~FlowLayout() override;

    void addItem(QLayoutItem* item) override;
    // A gap before the next widget, kept only inside a row.
    void AddGap(int width);
    int count() const override;
    QLayoutItem* itemAt(int index) const override;
    QLayoutItem* takeAt(int index) override;
    Qt::Orientations expandingDirections() const override;
    bool hasHeightForWidth() const override;
    int heightForWidth(int width) const override;
    QSize minimumSize() const override;
    QSize sizeHint() const override;
    void setGeometry(const QRect& rect) override;

private:
    // Places the items (when `apply`) and returns the height they take.
    int Arrange(const QRect& rect, bool apply) const;

    QList<QLayoutItem*> m_items;
    int m_spacing;
};

}  // namespace banc::window
