#include "ui/backups_window_view.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
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
    auto* backupNote = new QLabel(this);
    auto* differenceNote = new QLabel(this);
    auto* differences = new QTreeWidget(this);
    auto* restore = new QPushButton(this);
    auto* close = new QPushButton(this);
    for (QLabel* note : {backupNote, differenceNote})
        note->setWordWrap(true);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(restore);
    buttons->addWidget(close);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(list, 2);
    layout->addWidget(backupNote);
    layout->addSpacing(6);
    layout->addWidget(differenceNote);
    layout->addWidget(differences, 3);
    layout->addLayout(buttons);
    resize(760, 560);

    bindWindow(this, form);
    bindColumnList(list, form.backupList, [&controller] { controller.backupChosen(); });
    bindLabel(backupNote, form.backupNote);
    bindLabel(differenceNote, form.differenceNote);
    bindColumnList(differences, form.differenceList);
    list->header()->setSectionResizeMode(0, QHeaderView::Stretch);
    differences->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
    differences->header()->setStretchLastSection(true);
    differences->setSelectionMode(QAbstractItemView::NoSelection);
    bindButton(
        restore, form.restore, [&controller] { controller.restore(); }, 'W');
    bindButton(
        close, form.close, [&controller] { controller.close(); }, 'S');
    restore->setAutoDefault(false);
    close->setAutoDefault(false);
}

}  // namespace pnl::ui
