#include "ui/levels_page_view.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QShowEvent>
#include <QTabWidget>
#include <QVBoxLayout>

#include "app/level_editor.h"
#include "forms/levels_page.h"
#include "ui/binders.h"

namespace pnl::ui {

LevelsPageView::LevelsPageView(LevelsPageForm& form, LevelEditor& editor, QWidget* parent)
    : QGroupBox(parent) {
    auto* levelLabel = new QLabel(this);
    levels_ = new QComboBox(this);
    levels_->setMinimumContentsLength(22);
    levelLabel->setBuddy(levels_);

    auto* tabs = new QTabWidget(this);
    auto* codes = new QWidget;
    tabs->addTab(codes, QString());
    auto* rights = new QGroupBox(QStringLiteral("Rechte"), codes);
    residents_ = new QRadioButton(rights);
    all_ = new QRadioButton(rights);
    allWithLevels_ = new QRadioButton(rights);
    auto* rightsLayout = new QVBoxLayout(rights);
    rightsLayout->addWidget(residents_);
    rightsLayout->addWidget(all_);
    rightsLayout->addWidget(allWithLevels_);

    released_ = new QCheckBox(codes);
    auto* codeLabel = new QLabel(codes);
    code_ = new MaskedLineEdit(form.levelCode.positions(), form.levelCode.kind(), codes);
    codeLabel->setBuddy(code_);
    auto* codeRow = new QFormLayout;
    codeRow->addRow(codeLabel, code_);
    auto* codesLayout = new QVBoxLayout(codes);
    codesLayout->addWidget(rights);
    codesLayout->addWidget(released_);
    codesLayout->addLayout(codeRow);

    save_ = new QPushButton(this);
    auto* top = new QFormLayout;
    top->addRow(levelLabel, levels_);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(save_);
    auto* column = new QVBoxLayout;
    column->addLayout(top);
    column->addWidget(tabs);
    column->addLayout(buttons);
    column->addStretch(1);
    // The page keeps a tidy width on a wide window instead of stretching its fields across it.
    auto* layout = new QHBoxLayout(this);
    layout->addLayout(column, 0);
    layout->addStretch(1);

    // Mnemonics stay clear of the menu bar's (S, D, B, P, I, E).
    bindFrame(this, form.levelsFrame);
    levelLabel->setText(withMnemonic(form.levelChoiceCaption.caption(), 'r'));
    codeLabel->setText(withMnemonic(form.levelCodeCaption.caption(), 'N'));
    bindComboBox(levels_, form.levelChoice, [&editor] { editor.levelChosen(); });
    bindTabs(tabs, form.levelTabs);
    bindOption(residents_, form.kindResidents, {}, 'w');
    bindOption(all_, form.kindAll, {}, 'o');
    bindOption(allWithLevels_, form.kindAllWithLevels, {}, 'c');
    bindCheckBox(released_, form.levelEnabled, {}, 'f');
    bindMaskedField(code_, form.levelCode, {}, [&editor] { editor.levelCodeFocused(); });
    bindButton(
        save_, form.saveLevel, [&editor] { editor.save(); }, 'h');

    setTabOrder(levels_, tabs);
    setTabOrder(tabs, residents_);
    setTabOrder(residents_, all_);
    setTabOrder(all_, allWithLevels_);
    setTabOrder(allWithLevels_, released_);
    setTabOrder(released_, code_);
    setTabOrder(code_, save_);
}

void LevelsPageView::showEvent(QShowEvent* event) {
    QGroupBox::showEvent(event);
    // The page opens with the level to edit being chosen.
    if (!event->spontaneous())
        levels_->setFocus(Qt::OtherFocusReason);
}

}  // namespace pnl::ui
