#pragma once
// A ColumnList shown as a table (bindColumnTable in ui/binders.h): a model over its lines, no widget per row,
// and a proxy that sorts by a click on a header in German order (numbers by value, dates as "06.12.2026
// 14:03" by time) and keeps only the lines that hold every word of a search.

#include <QAbstractTableModel>
#include <QSortFilterProxyModel>
#include <string>
#include <vector>

#include "platform/collation.h"

namespace pnl {
class ColumnList;
}

namespace pnl::ui {

class ColumnTableModel : public QAbstractTableModel {
  public:
    ColumnTableModel(const ColumnList& list, QObject* parent);

    // The list's lines changed: a new count resets the table, the same count repaints its cells (the sort
    // and the chosen row stay).
    void follow();

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    QVariant data(const QModelIndex& index, int role) const override;

  private:
    const ColumnList& list_;
    int rows_ = 0;
};

class ColumnTableFilter : public QSortFilterProxyModel {
  public:
    explicit ColumnTableFilter(QObject* parent) : QSortFilterProxyModel(parent) {}
    void setSearch(const std::string& search);

  protected:
    bool filterAcceptsRow(int sourceRow, const QModelIndex& sourceParent) const override;
    bool lessThan(const QModelIndex& left, const QModelIndex& right) const override;

  private:
    TextSearch search_;
};

}  // namespace pnl::ui
