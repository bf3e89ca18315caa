#pragma once
// A multi-column list: the headers and the lines, each line shown split at the model's column separator.

#include <QTreeWidget>

#include "ui/binder.h"

namespace pnl::ui {

class ColumnListBinder : public Binder {
  public:
    ColumnListBinder(QTreeWidget* list, ColumnList& model);

  protected:
    void refresh() override;

  private:
    ColumnList& columns() const { return static_cast<ColumnList&>(model()); }

    QTreeWidget* list_;
    std::vector<std::string> shown_;
};

ColumnListBinder* bindColumnList(QTreeWidget* list, ColumnList& model);

}  // namespace pnl::ui
