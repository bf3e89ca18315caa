#include "ui/frm_backups_window.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "app/backup_window.h"
#include "forms/frm_backups.h"
#include "ui/binders.h"

namespace pnl::ui {

FrmBackupsWindow::FrmBackupsWindow(FrmBackups& form, BackupWindowController& controller, QWidget* parent)
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
    bindColumnList(list, form.LstBackups, [&controller] { controller.LstBackups_Click(); });
    list->header()->setSectionResizeMode(0, QHeaderView::Stretch);
    bindButton(
        restore, form.CmdRestore, [&controller] { controller.CmdRestore_Click(); }, 'W');
    bindButton(
        close, form.CmdClose, [&controller] { controller.CmdClose_Click(); }, 'S');
    restore->setAutoDefault(false);
    close->setAutoDefault(false);
}

}  // namespace pnl::ui
