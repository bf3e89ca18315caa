#include "ui/bind_check_tree.h"

#include <QSignalBlocker>

namespace pnl::ui {

CheckTreeBinder::CheckTreeBinder(QTreeWidget* tree, CheckTree& model, std::function<void(int)> onNodeCheck)
    : Binder(tree, model), tree_(tree) {
    tree->setHeaderHidden(true);
    tree->setRootIsDecorated(false);
    QObject::connect(tree, &QTreeWidget::itemChanged, this,
                     [this, onNodeCheck = std::move(onNodeCheck)](QTreeWidgetItem* item, int) {
                         if (applying())
                             return;
                         const int index = tree_->indexOfTopLevelItem(item);
                         if (index < 0 || index >= nodes().count())
                             return;
                         const bool on = item->checkState(0) == Qt::Checked;
                         if (on == nodes().node(index).checked)
                             return;
                         nodes().setChecked(index, on);
                         if (onNodeCheck)
                             onNodeCheck(index);
                     });
    apply();
}

void CheckTreeBinder::refresh() {
    refreshWidget(tree_);
    const QSignalBlocker quiet(tree_);
    const auto& wanted = nodes().nodes();
    bool same = tree_->topLevelItemCount() == static_cast<int>(wanted.size());
    for (int i = 0; same && i < tree_->topLevelItemCount(); ++i) {
        const QTreeWidgetItem* item = tree_->topLevelItem(i);
        same = item->text(0) == qt(wanted[i].text) &&
               item->data(0, Qt::UserRole).toString() == qt(wanted[i].key);
    }
    if (!same) {
        tree_->clear();
        for (const auto& node : wanted) {
            auto* item = new QTreeWidgetItem(tree_, QStringList{qt(node.text)});
            item->setData(0, Qt::UserRole, qt(node.key));
            item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsUserCheckable);
        }
    }
    for (int i = 0; i < tree_->topLevelItemCount(); ++i)
        tree_->topLevelItem(i)->setCheckState(0, wanted[i].checked ? Qt::Checked : Qt::Unchecked);
}

CheckTreeBinder* bindCheckTree(QTreeWidget* tree, CheckTree& model, std::function<void(int)> onNodeCheck) {
    return new CheckTreeBinder(tree, model, std::move(onNodeCheck));
}

}  // namespace pnl::ui
