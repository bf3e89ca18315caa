#pragma once
// A tree with a check box per node (top-level nodes only): the nodes, their ticks in both directions, and the
// NodeCheck event with the index of the node the user ticked or cleared.

#include <QTreeWidget>
#include <functional>

#include "ui/binder.h"

namespace pnl::ui {

class CheckTreeBinder : public Binder {
  public:
    CheckTreeBinder(QTreeWidget* tree, CheckTree& model, std::function<void(int index)> onNodeCheck = {});

  protected:
    void refresh() override;

  private:
    CheckTree& nodes() const { return static_cast<CheckTree&>(model()); }

    QTreeWidget* tree_;
};

CheckTreeBinder* bindCheckTree(QTreeWidget* tree, CheckTree& model,
                               std::function<void(int index)> onNodeCheck = {});

}  // namespace pnl::ui
