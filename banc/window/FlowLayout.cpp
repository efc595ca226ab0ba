#include "window/FlowLayout.h"

#include <QSpacerItem>
#include <QWidget>

#include <algorithm>
#include <utility>
#include <vector>

namespace banc::window {

FlowLayout::FlowLayout(QWidget* parent, int spacing) : QLayout(parent), m_spacing(spacing)
{
    setContentsMargins(0, 0, 0, 0);
}

FlowLayout::~FlowLayout()
{
    while (QLayoutItem* item = takeAt(0)) delete item;
}

void FlowLayout::addItem(QLayoutItem* item) { m_items.append(item); }

void FlowLayout::AddGap(int width) { addItem(new QSpacerItem(width, 0, QSizePolicy::Fixed, QSizePolicy::Minimum)); }

int FlowLayout::count() const { return static_cast<int>(m_items.size()); }

QLayoutItem* FlowLayout::itemAt(int index) const { return index >= 0 && index < count() ? m_items.at(index) : nullptr; }

QLayoutItem* FlowLayout::takeAt(int index) { return index >= 0 && index < count() ? m_items.takeAt(index) : nullptr; }

Qt::Orientations FlowLayout::expandingDirections() const { return {}; }

bool FlowLayout::hasHeightForWidth() const { return true; }

int FlowLayout::heightForWidth(int width) const { return Arrange(QRect(0, 0, width, 0), false); }

QSize FlowLayout::minimumSize() const
{
    // As narrow as its widest item: the others go on rows of their own.
    QSize size;
    for (const QLayoutItem* item : m_items) size = size.expandedTo(item->minimumSize());
    const QMargins margins = contentsMargins();
    return size + QSize(margins.left() + margins.right(), margins.top() + margins.bottom());
}

QSize FlowLayout::sizeHint() const
{
    // On one row.
    int width = 0, height = 0;
    for (const QLayoutItem* item : m_items) {
        width += item->sizeHint().width() + (width > 0 ? m_spacing : 0);
        height = std::max(height, item->sizeHint().height());
    }
    const QMargins margins = contentsMargins();
    return {width + margins.left() + margins.right(), height + margins.top() + margins.bottom()};
}

void FlowLayout::setGeometry(const QRect& rect)
{
    QLayout::setGeometry(rect);
    Arrange(rect, true);
}

int FlowLayout::Arrange(const QRect& rect, bool apply) const
{
    const QRect area = rect.marginsRemoved(contentsMargins());
    int x = area.x(), y = area.y(), rowHeight = 0;
    std::vector<std::pair<QLayoutItem*, QPoint>> row;
    // The row's items centred on its height.
    const auto place = [&] {
        for (const auto& [item, at] : row) {
            const QSize size = item->sizeHint();
            if (apply) item->setGeometry(QRect(at + QPoint(0, (rowHeight - size.height()) / 2), size));
        }
        row.clear();
    };
    for (QLayoutItem* item : m_items) {
        // A hidden widget takes no room; a gap, always empty, does.
        if (item->isEmpty() && !item->spacerItem()) continue;
        const QSize size = item->sizeHint();
        if (x > area.x() && x + size.width() > area.right() + 1) {
            // A gap never starts a row.
            if (item->spacerItem()) continue;
            place();
            x = area.x();
            y += rowHeight + m_spacing;
            rowHeight = 0;
        }
        row.emplace_back(item, QPoint(x, y));
        x += size.width() + m_spacing;
        rowHeight = std::max(rowHeight, size.height());
    }
    place();
    const QMargins margins = contentsMargins();
    return y + rowHeight - rect.y() + margins.bottom();
}

}  // namespace banc::window
