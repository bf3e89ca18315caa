#pragma once
// Table columns as wide as their texts: Qt's own fitting keeps room for the sort arrow in every header,
// which on a table of many narrow columns costs the width of two columns. Here only the sorted column
// gets that room, and the widths follow when another column is sorted.

class QTableView;

namespace pnl::ui {

// Fits the columns now; call again after the rows changed.
void fitColumns(QTableView* table);
// Fits the columns again whenever the sorted column changes.
void keepColumnsFitted(QTableView* table);

}  // namespace pnl::ui
