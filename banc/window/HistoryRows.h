#pragma once

#include <QList>
#include <QStringList>

#include "engine/history/StoredRun.h"

class QStandardItem;

namespace banc::window {

// The columns of the Historique pane's table.
enum HistoryColumn {
    kRunNumber,
    kRunDate,
    kRunMode,
    kRunSettings,
    kRunOutcome,
    kRunFinal,
    kRunOvershoot,
    kRunUser,
    kRunComment,
    kRunColumns
};

// The data role the table sorts on: numbers as numbers, an absent figure below every other.
inline constexpr int kSortRole = Qt::UserRole + 1;

QStringList HistoryHeaders();
// One row of the table, its number's item holding the run's number (Qt::UserRole).
QList<QStandardItem*> HistoryRow(const history::StoredRun& run);

}  // namespace banc::window
