#include "ui/bind_column_list.h"

#include <QHeaderView>

namespace pnl::ui {

ColumnListBinder::ColumnListBinder(QTreeWidget* list, ColumnList& model, std::function<void()> onClick)
    : Binder(list, model), list_(list) {
    list->setRootIsDecorated(false);
    list->setUniformRowHeights(true);
    QStringList headers;
    for (const auto& header : model.headers())
        headers << qt(header);
    list->setColumnCount(static_cast<int>(headers.size()));
    list->setHeaderLabels(headers);
    QObject::connect(list, &QTreeWidget::currentItemChanged, this,
                     [this, onClick = std::move(onClick)](QTreeWidgetItem* current) {
                         if (applying())
                             return;
                         columns().setListIndex(current ? list_->indexOfTopLevelItem(current) : -1);
                         if (onClick)
                             onClick();
                     });
    apply();
}

void ColumnListBinder::refresh() {
    refreshWidget(list_);
    const auto& lines = columns().lines();
    if (lines == shown_) {
        showChosen();
        return;
    }
    // Lines are only ever appended or all replaced: append what is new, rebuild otherwise.
    const bool appended =
        lines.size() >= shown_.size() && std::equal(shown_.begin(), shown_.end(), lines.begin());
    if (!appended) {
        list_->clear();
        shown_.clear();
    }
    for (std::size_t i = shown_.size(); i < lines.size(); ++i)
        new QTreeWidgetItem(list_, qt(lines[i]).split(QChar(columns().separator())));
    shown_ = lines;
    showChosen();
}

void ColumnListBinder::showChosen() {
    const int index = columns().listIndex();
    QTreeWidgetItem* item = index >= 0 ? list_->topLevelItem(index) : nullptr;
    if (list_->currentItem() != item)
        list_->setCurrentItem(item);
}

ColumnListBinder* bindColumnList(QTreeWidget* list, ColumnList& model, std::function<void()> onClick) {
    return new ColumnListBinder(list, model, std::move(onClick));
}

}  // namespace pnl::ui
