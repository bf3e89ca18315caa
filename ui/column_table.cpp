#include "ui/column_table.h"

#include <QRegularExpression>
#include <optional>

#include "forms/controls.h"
#include "platform/collation.h"
#include "ui/binders.h"

namespace pnl::ui {

namespace {

QStringList cellsOf(const ColumnList& list, int row) {
    return qt(list.line(row)).split(QChar(list.separator()));
}

// "06.12.2026 14:03" as 202612061403, so that dates sort by time; nothing for any other text.
std::optional<qlonglong> dateKey(const QString& text) {
    static const QRegularExpression date(R"(^(\d\d)\.(\d\d)\.(\d{4}) (\d\d):(\d\d)$)");
    const QRegularExpressionMatch match = date.match(text);
    if (!match.hasMatch())
        return std::nullopt;
    return (match.captured(3) + match.captured(2) + match.captured(1) + match.captured(4) + match.captured(5))
        .toLongLong();
}

}  // namespace

ColumnTableModel::ColumnTableModel(const ColumnList& list, QObject* parent)
    : QAbstractTableModel(parent), list_(list), rows_(list.count()) {}

void ColumnTableModel::follow() {
    if (list_.count() != rows_) {
        beginResetModel();
        rows_ = list_.count();
        endResetModel();
    } else if (rows_ > 0) {
        emit dataChanged(index(0, 0), index(rows_ - 1, columnCount() - 1));
    }
}

int ColumnTableModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : rows_;
}

int ColumnTableModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(list_.headers().size());
}

QVariant ColumnTableModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole || section < 0 || section >= columnCount())
        return {};
    return qt(list_.headers()[static_cast<std::size_t>(section)]);
}

QVariant ColumnTableModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= list_.count() ||
        (role != Qt::DisplayRole && role != Qt::ToolTipRole))
        return {};
    const QStringList cells = cellsOf(list_, index.row());
    // The tip is the full text where a narrow column cuts it.
    return index.column() < cells.size() ? cells[index.column()] : QString();
}

void ColumnTableFilter::setSearch(const std::string& search) {
    search_ = TextSearch(search);
    invalidateRowsFilter();
}

bool ColumnTableFilter::filterAcceptsRow(int sourceRow, const QModelIndex&) const {
    if (search_.empty())
        return true;
    const auto* model = static_cast<const ColumnTableModel*>(sourceModel());
    QStringList cells;
    for (int column = 0; column < model->columnCount(); ++column)
        cells << model->data(model->index(sourceRow, column), Qt::DisplayRole).toString();
    return search_.matches(searchableText(str(cells.join('\t'))));
}

bool ColumnTableFilter::lessThan(const QModelIndex& left, const QModelIndex& right) const {
    const QString a = left.data().toString(), b = right.data().toString();
    bool numberA = false, numberB = false;
    const qlonglong valueA = a.toLongLong(&numberA), valueB = b.toLongLong(&numberB);
    if (numberA && numberB)
        return valueA < valueB;
    const auto dateA = dateKey(a), dateB = dateKey(b);
    if (dateA && dateB)
        return *dateA < *dateB;
    return collationKey(str(a)) < collationKey(str(b));
}

}  // namespace pnl::ui
