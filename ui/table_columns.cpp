#include "ui/table_columns.h"

#include <QHeaderView>
#include <QTableView>
#include <algorithm>
#include <vector>

namespace pnl::ui {

void fitColumns(QTableView* table) {
    QHeaderView* header = table->horizontalHeader();
    const int columns = header->count();
    if (columns == 0)
        return;
    const bool arrows = header->isSortIndicatorShown();
    header->setSortIndicatorShown(false);
    std::vector<int> headerWidths(static_cast<std::size_t>(columns));
    for (int column = 0; column < columns; ++column)
        headerWidths[static_cast<std::size_t>(column)] = header->sectionSizeHint(column);
    header->setSortIndicatorShown(arrows);
    // Public as an item view's: the widest cell of the column among the rows Qt measures.
    const QAbstractItemView* cells = table;
    const int arrowRoom = arrows ? std::max(0, header->sectionSizeHint(0) - headerWidths[0]) : 0;
    for (int column = 0; column < columns; ++column)
        table->setColumnWidth(column, std::max(cells->sizeHintForColumn(column),
                                               headerWidths[static_cast<std::size_t>(column)]) +
                                          (column == header->sortIndicatorSection() ? arrowRoom : 0));
}

void keepColumnsFitted(QTableView* table) {
    QObject::connect(table->horizontalHeader(), &QHeaderView::sortIndicatorChanged, table,
                     [table] { fitColumns(table); });
}

}  // namespace pnl::ui
