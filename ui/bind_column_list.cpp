#include "ui/bind_column_list.h"

#include <QHeaderView>

namespace pnl::ui {

ColumnListBinder::ColumnListBinder(QTreeWidget* list, ColumnList& model) : Binder(list, model), list_(list) {
    list->setRootIsDecorated(false);
    list->setUniformRowHeights(true);
    QStringList headers;
    for (const auto& header : model.headers())
        headers << qt(header);
    list->setColumnCount(static_cast<int>(headers.size()));
    list->setHeaderLabels(headers);
    apply();
}

void ColumnListBinder::refresh() {
    refreshWidget(list_);
    const auto& lines = columns().lines();
    if (lines == shown_)
        return;
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
}

ColumnListBinder* bindColumnList(QTreeWidget* list, ColumnList& model) {
    return new ColumnListBinder(list, model);
}

}  // namespace pnl::ui
