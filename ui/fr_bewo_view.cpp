#include "ui/fr_bewo_view.h"

#include <QComboBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QShowEvent>
#include <QTabWidget>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "forms/fr_bewo.h"
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

FrBewoView::FrBewoView(FrBewoControls& form, ResidentEditor& editor, QWidget* parent) : QGroupBox(parent) {
    auto* modes = new QGroupBox(this);
    byName_ = new QRadioButton(modes);
    bySerial_ = new QRadioButton(modes);
    byApartment_ = new QRadioButton(modes);
    auto* modesLayout = new QHBoxLayout(modes);
    modesLayout->addWidget(byName_);
    modesLayout->addWidget(bySerial_);
    modesLayout->addWidget(byApartment_);

    residents_ = new QComboBox(this);
    residents_->setMinimumContentsLength(36);
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

    auto* column = new QVBoxLayout;
    column->addWidget(modes);
    column->addWidget(residents_);
    // The tabs take the room of a larger window: the station tree grows with it.
    column->addWidget(tabs_, 1);
    column->addLayout(buttons);
    auto* layout = new QHBoxLayout(this);
    layout->addLayout(column, 1);

    // Mnemonics stay clear of the menu bar's (S, D, B, P, I, E).
    bindFrame(this, form.FrBewo);
    bindFrame(modes, form.FrBWAnzeige);
    bindOption(
        byName_, form.OptBWName, [&editor] { editor.OptBWName_Click(); }, 'm');
    bindOption(
        bySerial_, form.OptBWSNR, [&editor] { editor.OptBWSNR_Click(); }, 'r');
    bindOption(
        byApartment_, form.OptBWWNr, [&editor] { editor.OptBWWNr_Click(); }, 'W');
    bindComboBox(residents_, form.CboBewo, [&editor] { editor.CboBewo_Click(); });
    bindTabs(tabs_, form.SSTabBewo);
    bindTextBox(name_, form.TxtBWName);
    bindTextBox(firstName_, form.TxtBWVorn);
    bindMaskedField(serial_, form.TxtBWSnr, {}, [&editor] { editor.TxtBWSnr_GotFocus(); });
    bindMaskedField(secondSerial_, form.txtBwtSnr, {}, [&editor] { editor.txtBwtSnr_GotFocus(); });
    bindMaskedField(code_, form.TxtBWCode, {}, [&editor] { editor.TxtBWCode_GotFocus(); });
    bindMaskedField(apartment_, form.TxtBWWNr, {}, [&editor] { editor.TxtBWWNr_GotFocus(); });
    bindCheckTree(stations_, form.TrVwPNL);
    bindButton(
        allStations_, form.CmdPNLALLSet, [&editor] { editor.CmdPNLALLSet_Click(); }, 'A');
    bindButton(
        noStations_, form.CmdPNLALLDel, [&editor] { editor.CmdPNLALLDel_Click(); }, 'K');
    bindButton(
        new_, form.CmdBWNeu, [&editor] { editor.CmdBWNeu_Click(); }, 'u');
    bindButton(
        save_, form.CmdBWSave, [&editor] { editor.CmdBWSave_Click(); }, 'c');
    bindButton(
        delete_, form.CmdBWDel, [&editor] { editor.CmdBWDel_Click(); }, 'l');

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

void FrBewoView::showEvent(QShowEvent* event) {
    QGroupBox::showEvent(event);
    // The page opens with the resident list to pick from; without one the name is typed first.
    if (!event->spontaneous())
        (residents_->isEnabled() ? static_cast<QWidget*>(residents_) : name_)->setFocus(Qt::OtherFocusReason);
}

QWidget* FrBewoView::residentTab(FrBewoControls& form) {
    auto* page = new QWidget;
    name_ = new QLineEdit(page);
    firstName_ = new QLineEdit(page);
    serial_ = maskedEdit(form.TxtBWSnr, page);
    secondSerial_ = maskedEdit(form.txtBwtSnr, page);
    code_ = maskedEdit(form.TxtBWCode, page);
    auto* fields = new QFormLayout(page);
    fields->addRow(fieldLabel(form.TxtBWName, name_, page), name_);
    fields->addRow(fieldLabel(form.TxtBWVorn, firstName_, page), firstName_);
    auto* shownName = new QLabel(page);
    shownName->setTextFormat(Qt::PlainText);
    shownName->setTextInteractionFlags(Qt::TextSelectableByMouse);
    fields->addRow(new QLabel(qt(form.LblBWAnzeige.caption()), page), shownName);
    bindLabel(shownName, form.LblBWAnzeigeText);
    fields->addRow(fieldLabel(form.TxtBWSnr, serial_, page), serial_);
    fields->addRow(fieldLabel(form.txtBwtSnr, secondSerial_, page), secondSerial_);
    fields->addRow(fieldLabel(form.TxtBWCode, code_, page), code_);
    return page;
}

QWidget* FrBewoView::placeTab(FrBewoControls& form) {
    auto* page = new QWidget;
    apartment_ = maskedEdit(form.TxtBWWNr, page);
    stations_ = new QTreeWidget(page);
    auto* treeLabel = new QLabel(page);
    treeLabel->setBuddy(stations_);
    bindLabel(treeLabel, form.LblVwPNL);
    allStations_ = new QPushButton(page);
    noStations_ = new QPushButton(page);
    auto* top = new QFormLayout;
    top->addRow(fieldLabel(form.TxtBWWNr, apartment_, page), apartment_);
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
