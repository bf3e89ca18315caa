#include "ui/installations_window_view.h"

#include <QDir>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QShortcut>
#include <QTableView>
#include <QVBoxLayout>

#include "forms/installations_window.h"
#include "stations/installations_window.h"
#include "ui/binders.h"
#include "ui/column_table.h"

namespace pnl::ui {

InstallationsWindowView::InstallationsWindowView(InstallationsWindowForm& form,
                                                 InstallationsWindowController& controller, QWidget* parent)
    : QDialog(parent), form_(form), controller_(controller) {
    setModal(true);
    search_ = new QLineEdit(this);
    search_->setPlaceholderText("Suchen …");
    search_->setClearButtonEnabled(true);
    table_ = new QTableView(this);
    auto* details = new QLabel(this);
    // Folder names are shown as they are, never read as markup.
    details->setTextFormat(Qt::PlainText);
    details->setTextInteractionFlags(Qt::TextSelectableByMouse);
    details->setWordWrap(true);
    auto* status = new QLabel(this);
    status->setTextFormat(Qt::PlainText);
    auto* open = new QPushButton(this);
    auto* add = new QPushButton(this);
    auto* remove = new QPushButton(this);
    auto* close = new QPushButton(this);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(open);
    buttons->addWidget(add);
    buttons->addWidget(remove);
    buttons->addStretch();
    buttons->addWidget(close);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(search_);
    layout->addWidget(table_, 1);
    layout->addWidget(details);
    layout->addWidget(status);
    layout->addLayout(buttons);
    resize(900, 460);

    auto* find = new QShortcut(QKeySequence::Find, this);
    connect(find, &QShortcut::activated, search_, [this] {
        search_->setFocus(Qt::ShortcutFocusReason);
        search_->selectAll();
    });

    bindWindow(this, form);
    filter_ = bindColumnTable(table_, form.installationList, [&controller] { controller.entryChosen(); });
    // The folder, last, takes the room that is left; a path cut there shows whole as the cell's tip.
    table_->horizontalHeader()->setSectionResizeMode(table_->model()->columnCount() - 1,
                                                     QHeaderView::Stretch);
    bindTextBox(search_, form.search, [this] {
        filter_->setSearch(form_.search.text());
        // A chosen installation the search hides is no longer chosen: "Öffnen" acts only on what is seen.
        const int index = form_.installationList.listIndex();
        if (index >= 0 && !filter_->mapFromSource(filter_->sourceModel()->index(index, 0)).isValid()) {
            form_.installationList.setListIndex(-1);
            controller_.entryChosen();
        }
    });
    bindLabel(details, form.details);
    bindLabel(status, form.status);
    bindButton(
        open, form.open, [&controller] { controller.open(); }, QChar(u'Ö'));
    bindButton(
        add, form.addFolder,
        [this] {
            const QString folder = chooseFolder ? chooseFolder() : QString();
            if (!folder.isEmpty())
                controller_.addFolder(str(folder));
        },
        'h');
    bindButton(
        remove, form.remove, [&controller] { controller.remove(); }, 'E');
    bindButton(
        close, form.close, [&controller] { controller.close(); }, 'S');
    // Enter opens the chosen installation: that asks the exit question first, so it loses nothing.
    open->setDefault(true);
    for (QPushButton* button : {add, remove, close})
        button->setAutoDefault(false);
    connect(table_, &QTableView::doubleClicked, this, [&controller] { controller.open(); });

    chooseFolder = [this] {
        return QFileDialog::getExistingDirectory(this, "Ordner einer Anlage hinzufügen", QDir::homePath());
    };
}

void InstallationsWindowView::reject() {
    controller_.close();
}

}  // namespace pnl::ui
