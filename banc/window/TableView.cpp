#include "window/TableView.h"

#include <QHeaderView>
#include <QScrollBar>
#include <QTableWidget>

#include <algorithm>

#include "window/Latin1.h"

namespace banc::window {
namespace {

constexpr int kRowsInSight = 12;

}  // namespace

QTableWidget* MakeTableView(const TextTable& table, const char* name, QWidget* parent)
{
    auto* view = new QTableWidget(static_cast<int>(table.rows.size()), static_cast<int>(table.header.size()), parent);
    view->setObjectName(QString::fromLatin1(name));
    view->setEditTriggers(QAbstractItemView::NoEditTriggers);
    view->setSelectionBehavior(QAbstractItemView::SelectRows);
    view->setSelectionMode(QAbstractItemView::SingleSelection);
    view->verticalHeader()->hide();
    QStringList header;
    for (const std::string& cell : table.header) header << Q(cell);
    view->setHorizontalHeaderLabels(header);
    for (std::size_t row = 0; row < table.rows.size(); ++row)
        for (std::size_t column = 0; column < table.rows[row].size() && column < table.header.size(); ++column) {
            auto* item = new QTableWidgetItem(Q(table.rows[row][column]));
            // The names to the left, the figures to the right, as the command line aligns them.
            if (column > 0) item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
            view->setItem(static_cast<int>(row), static_cast<int>(column), item);
        }
    view->resizeColumnsToContents();
    // Every column in sight, the scroll bar's place kept, and a dozen rows.
    view->setMinimumWidth(view->horizontalHeader()->length() + 2 * view->frameWidth() +
                          view->verticalScrollBar()->sizeHint().width());
    const int rows = std::min(view->rowCount(), kRowsInSight);
    view->setMinimumHeight(view->horizontalHeader()->sizeHint().height() +
                           rows * view->verticalHeader()->defaultSectionSize() + 2 * view->frameWidth());
    return view;
}

}  // namespace banc::window
