#pragma once
// A multi-column list: the headers and the lines, each line shown split at the model's column separator; the
// line the user chooses becomes the model's list index.

#include <QTreeWidget>
#include <functional>

#include "ui/binder.h"

namespace pnl::ui {

class ColumnListBinder : public Binder {
  public:
    ColumnListBinder(QTreeWidget* list, ColumnList& model, std::function<void()> onClick = {});

  protected:
    void refresh() override;

  private:
    void showChosen();
    ColumnList& columns() const { return static_cast<ColumnList&>(model()); }

    QTreeWidget* list_;
    std::vector<std::string> shown_;
};

ColumnListBinder* bindColumnList(QTreeWidget* list, ColumnList& model, std::function<void()> onClick = {});

}  // namespace pnl::ui
