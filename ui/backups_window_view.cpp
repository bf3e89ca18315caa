#include "ui/backups_window_view.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "app/backups_window.h"
#include "forms/backups_window.h"
#include "ui/binders.h"

namespace pnl::ui {

BackupsWindowView::BackupsWindowView(BackupsWindowForm& form, BackupsWindowController& controller,
                                     QWidget* parent)
    : QDialog(parent) {
    setModal(true);
    auto* list = new QTreeWidget(this);
    auto* restore = new QPushButton(this);
    auto* close = new QPushButton(this);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(restore);
    buttons->addWidget(close);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(list, 1);
    layout->addLayout(buttons);
    resize(460, 360);

    bindWindow(this, form);
    bindColumnList(list, form.backupList, [&controller] { controller.backupChosen(); });
    list->header()->setSectionResizeMode(0, QHeaderView::Stretch);
    bindButton(
        restore, form.restore, [&controller] { controller.restore(); }, 'W');
    bindButton(
        close, form.close, [&controller] { controller.close(); }, 'S');
    restore->setAutoDefault(false);
    close->setAutoDefault(false);
}

}  // namespace pnl::ui
