#include "ui/resident_page_view.h"

#include <QComboBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QShortcut>
#include <QShowEvent>
#include <QTabWidget>
#include <QTableView>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "forms/resident_page.h"
#include "residents/resident_editor.h"
#include "ui/binders.h"

namespace pnl::ui {

namespace {

// A field's label shows the caption of the field's model.
QLabel* fieldLabel(const Control& field, QWidget* buddy, QWidget* parent) {
    auto* label = new QLabel(qt(field.caption()), parent);
    label->setBuddy(buddy);
    return label;
}

MaskedLineEdit* maskedEdit(const MaskedField& field, QWidget* parent) {
    return new MaskedLineEdit(field.positions(), field.kind(), parent);
}

}  // namespace

ResidentPageView::ResidentPageView(ResidentPageForm& form, ResidentEditor& editor, QWidget* parent)
    : QGroupBox(parent) {
    auto* modes = new QGroupBox(this);
    byName_ = new QRadioButton(modes);
    bySerial_ = new QRadioButton(modes);
    byApartment_ = new QRadioButton(modes);
    auto* modesLayout = new QHBoxLayout(modes);
    modesLayout->addWidget(byName_);
    modesLayout->addWidget(bySerial_);
    modesLayout->addWidget(byApartment_);

    residents_ = new QComboBox(this);
    residents_->setMinimumContentsLength(24);
    residents_->setMaxVisibleItems(20);

    tabs_ = new QTabWidget(this);
    tabs_->addTab(residentTab(form), QString());
    tabs_->addTab(placeTab(form), QString());

    new_ = new QPushButton(this);
    save_ = new QPushButton(this);
    delete_ = new QPushButton(this);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(new_);
    buttons->addWidget(save_);
    buttons->addWidget(delete_);
    buttons->addStretch();

    listSearch_ = new QLineEdit(this);
    listSearch_->setPlaceholderText("Suchen …");
    listSearch_->setClearButtonEnabled(true);
    auto* listCount = new QLabel(this);
    list_ = new QTableView(this);
    auto* searchLine = new QHBoxLayout;
    searchLine->addWidget(listSearch_, 1);
    searchLine->addWidget(listCount);
    auto* listColumn = new QVBoxLayout;
    listColumn->addLayout(searchLine);
    listColumn->addWidget(list_, 1);

    auto* column = new QVBoxLayout;
    column->addWidget(modes);
    column->addWidget(residents_);
    // The tabs take the room of a larger window: the station tree grows with it.
    column->addWidget(tabs_, 1);
    column->addLayout(buttons);
    auto* layout = new QHBoxLayout(this);
    layout->addLayout(listColumn, 1);
    layout->addLayout(column, 1);

    auto* find = new QShortcut(QKeySequence::Find, this);
    connect(find, &QShortcut::activated, listSearch_, [this] {
        listSearch_->setFocus(Qt::ShortcutFocusReason);
        listSearch_->selectAll();
    });

    // Mnemonics stay clear of the menu bar's (S, D, B, P, G, I, E).
    bindFrame(this, form.residentFrame);
    bindFrame(modes, form.displayModeFrame);
    bindOption(
        byName_, form.byName, [&editor] { editor.showByName(); }, 'm');
    bindOption(
        bySerial_, form.bySerial, [&editor] { editor.showBySerial(); }, 'r');
    bindOption(
        byApartment_, form.byApartment, [&editor] { editor.showByApartment(); }, 'W');
    bindComboBox(residents_, form.residentChoice, [&editor] { editor.residentChosen(); });
    bindTextBox(listSearch_, form.listSearch, [&editor] { editor.listSearchChanged(); });
    bindLabel(listCount, form.listCount);
    bindTableList(list_, form.residentList, [&editor] { editor.residentPicked(); });
    bindTabs(tabs_, form.residentTabs);
    bindTextBox(name_, form.lastName);
    bindTextBox(firstName_, form.firstName);
    bindMaskedField(serial_, form.serial, {}, [&editor] { editor.serialFocused(); });
    bindMaskedField(secondSerial_, form.secondSerial, {}, [&editor] { editor.secondSerialFocused(); });
    bindMaskedField(code_, form.accessCode, {}, [&editor] { editor.accessCodeFocused(); });
    bindMaskedField(apartment_, form.apartment, {}, [&editor] { editor.apartmentFocused(); });
    bindCheckTree(stations_, form.stationTree);
    bindButton(
        allStations_, form.selectAllStations, [&editor] { editor.selectAllStations(); }, 'A');
    bindButton(
        noStations_, form.selectNoStations, [&editor] { editor.selectNoStations(); }, 'K');
    bindButton(
        new_, form.newResident, [&editor] { editor.newResident(); }, 'u');
    bindButton(
        save_, form.saveResident,
        [this, &editor] {
            // A saved form disables the button, and Qt would pass its focus on to "Bewohner löschen".
            const bool fromButton = save_->hasFocus();
            editor.save();
            if (fromButton && !save_->isEnabled())
                name_->setFocus(Qt::OtherFocusReason);
        },
        'c');
    auto* saveKey = new QShortcut(QKeySequence::Save, this, nullptr, nullptr, Qt::WidgetWithChildrenShortcut);
    connect(saveKey, &QShortcut::activated, this, [this] {
        if (save_->isEnabled())
            save_->click();
    });
    bindButton(
        delete_, form.deleteResident, [&editor] { editor.deleteResident(); }, 'l');

    setTabOrder(listSearch_, list_);
    setTabOrder(list_, byName_);
    setTabOrder(byName_, bySerial_);
    setTabOrder(bySerial_, byApartment_);
    setTabOrder(byApartment_, residents_);
    setTabOrder(residents_, tabs_);
    setTabOrder(tabs_, name_);
    setTabOrder(name_, firstName_);
    setTabOrder(firstName_, serial_);
    setTabOrder(serial_, secondSerial_);
    setTabOrder(secondSerial_, code_);
    setTabOrder(code_, new_);
    setTabOrder(new_, save_);
    setTabOrder(save_, delete_);
}

void ResidentPageView::showEvent(QShowEvent* event) {
    QGroupBox::showEvent(event);
    // The page opens with the resident list to pick from; without one the name is typed first.
    if (!event->spontaneous())
        (residents_->isEnabled() ? static_cast<QWidget*>(residents_) : name_)->setFocus(Qt::OtherFocusReason);
}

QWidget* ResidentPageView::residentTab(ResidentPageForm& form) {
    auto* page = new QWidget;
    name_ = new QLineEdit(page);
    firstName_ = new QLineEdit(page);
    serial_ = maskedEdit(form.serial, page);
    secondSerial_ = maskedEdit(form.secondSerial, page);
    code_ = maskedEdit(form.accessCode, page);
    auto* fields = new QFormLayout(page);
    fields->addRow(fieldLabel(form.lastName, name_, page), name_);
    fields->addRow(fieldLabel(form.firstName, firstName_, page), firstName_);
    auto* shownName = new QLabel(page);
    shownName->setTextFormat(Qt::PlainText);
    shownName->setTextInteractionFlags(Qt::TextSelectableByMouse);
    fields->addRow(new QLabel(qt(form.displayCaption.caption()), page), shownName);
    bindLabel(shownName, form.displayText);
    fields->addRow(fieldLabel(form.serial, serial_, page), serial_);
    fields->addRow(fieldLabel(form.secondSerial, secondSerial_, page), secondSerial_);
    fields->addRow(fieldLabel(form.accessCode, code_, page), code_);
    return page;
}

QWidget* ResidentPageView::placeTab(ResidentPageForm& form) {
    auto* page = new QWidget;
    apartment_ = maskedEdit(form.apartment, page);
    stations_ = new QTreeWidget(page);
    auto* treeLabel = new QLabel(page);
    treeLabel->setBuddy(stations_);
    bindLabel(treeLabel, form.stationTreeCaption);
    allStations_ = new QPushButton(page);
    noStations_ = new QPushButton(page);
    auto* top = new QFormLayout;
    top->addRow(fieldLabel(form.apartment, apartment_, page), apartment_);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(allStations_);
    buttons->addWidget(noStations_);
    buttons->addStretch();
    auto* layout = new QVBoxLayout(page);
    layout->addLayout(top);
    layout->addWidget(treeLabel);
    layout->addWidget(stations_, 1);
    layout->addLayout(buttons);

    setTabOrder(apartment_, stations_);
    setTabOrder(stations_, allStations_);
    setTabOrder(allStations_, noStations_);
    return page;
}

}  // namespace pnl::ui
