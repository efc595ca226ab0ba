#pragma once

#include "engine/outputs/LabText.h"

class QTableWidget;
class QWidget;

namespace banc::window {

// The engine's table in a read-only table view, one row selected at a time,
// its columns as wide as their cells.
QTableWidget* MakeTableView(const TextTable& table, const char* name, QWidget* parent);

}  // namespace banc::window
