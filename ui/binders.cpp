#include "ui/binders.h"

#include <QAbstractButton>
#include <QAbstractTableModel>
#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QEvent>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QObject>
#include <QProgressBar>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QStatusBar>
#include <QStyledItemDelegate>
#include <QTabWidget>
#include <QTableView>
#include <QTreeWidget>
#include <QWidget>
#include <algorithm>

#include "ui/column_table.h"
#include "ui/masked_line_edit.h"

namespace pnl::ui {

QString withMnemonic(const std::string& caption, QChar letter) {
    QString text = qt(caption);
    text.replace('&', "&&");
    if (letter.isNull())
        return text;
    for (int i = 0; i < text.size(); ++i) {
        if (text[i].toLower() == letter.toLower() && (i == 0 || text[i - 1] != '&')) {
            text.insert(i, '&');
            break;
        }
    }
    return text;
}

QString screenLines(const std::string& text) {
    QString lines = qt(text);
    lines.replace("\n\r", "\n").replace("\r\n", "\n").replace('\r', '\n');
    return lines;
}

namespace {

class Binder : public QObject {
  public:
    Binder(QObject* target, Control& model);
    ~Binder() override;
    Binder(const Binder&) = delete;
    Binder& operator=(const Binder&) = delete;

    Control& model() const { return *model_; }

  protected:
    // Applies the model to the Qt object. Every binder calls it once at the end of its constructor.
    virtual void refresh() = 0;
    // Enabled, visible and tip of a widget, as every control has them.
    void refreshWidget(QWidget* widget) const;
    // True while refresh() runs, so that signals the binder itself causes are not taken for user events.
    bool applying() const { return applying_; }
    void apply();

  private:
    Control* model_;
    int subscription_ = 0;
    bool applying_ = false;
};

Binder::Binder(QObject* target, Control& model) : QObject(target), model_(&model) {
    subscription_ = model.subscribe([this] { apply(); });
}

Binder::~Binder() {
    model_->unsubscribe(subscription_);
}

void Binder::apply() {
    // A refresh may cause another one (a window learning where it was placed).
    const bool outer = !applying_;
    applying_ = true;
    refresh();
    if (outer)
        applying_ = false;
}

void Binder::refreshWidget(QWidget* widget) const {
    widget->setEnabled(model_->enabled());
    // Only the model hides a child widget; a top-level window is shown and hidden by its own binder.
    if (!widget->isWindow())
        widget->setVisible(model_->visible());
    widget->setToolTip(qt(model_->tip()));
}

// A command button: caption (with an optional keyboard mnemonic) and the Click event.
class ButtonBinder : public Binder {
  public:
    ButtonBinder(QAbstractButton* button, Button& model, std::function<void()> onClick, QChar mnemonic = {});

  protected:
    void refresh() override;

  private:
    QAbstractButton* button_;
    QChar mnemonic_;
};

ButtonBinder::ButtonBinder(QAbstractButton* button, Button& model, std::function<void()> onClick,
                           QChar mnemonic)
    : Binder(button, model), button_(button), mnemonic_(mnemonic) {
    QObject::connect(button, &QAbstractButton::clicked, this, [onClick = std::move(onClick)] {
        if (onClick)
            onClick();
    });
    apply();
}

void ButtonBinder::refresh() {
    refreshWidget(button_);
    button_->setText(withMnemonic(model().caption(), mnemonic_));
}

// A check box: caption, the tick in both directions, and the Click event when the user changes the tick.
class CheckBoxBinder : public Binder {
  public:
    CheckBoxBinder(QCheckBox* box, CheckBox& model, std::function<void()> onClick = {}, QChar mnemonic = {});

  protected:
    void refresh() override;

  private:
    CheckBox& check() const { return static_cast<CheckBox&>(model()); }

    QCheckBox* box_;
    QChar mnemonic_;
};

CheckBoxBinder::CheckBoxBinder(QCheckBox* box, CheckBox& model, std::function<void()> onClick, QChar mnemonic)
    : Binder(box, model), box_(box), mnemonic_(mnemonic) {
    QObject::connect(box, &QCheckBox::clicked, this, [this, onClick = std::move(onClick)](bool on) {
        check().setChecked(on);
        if (onClick)
            onClick();
    });
    apply();
}

void CheckBoxBinder::refresh() {
    refreshWidget(box_);
    box_->setText(withMnemonic(model().caption(), mnemonic_));
    if (box_->isChecked() != check().checked())
        box_->setChecked(check().checked());
}

// A tree with a check box per node (top-level nodes only): the nodes, their ticks in both directions, and the
// NodeCheck event with the index of the node the user ticked or cleared.
class CheckTreeBinder : public Binder {
  public:
    CheckTreeBinder(QTreeWidget* tree, CheckTree& model, std::function<void(int index)> onNodeCheck = {});

  protected:
    void refresh() override;

  private:
    CheckTree& nodes() const { return static_cast<CheckTree&>(model()); }

    QTreeWidget* tree_;
};

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

// A multi-column list: the headers and the lines, each line shown split at the model's column separator; the
// line the user chooses becomes the model's list index.
// Rows with room above the capitals' umlaut dots ("Özdemir"), whatever the style's own margins.
class RoomyRowDelegate : public QStyledItemDelegate {
  public:
    using QStyledItemDelegate::QStyledItemDelegate;
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override {
        QSize size = QStyledItemDelegate::sizeHint(option, index);
        size.setHeight(std::max(size.height(), option.fontMetrics.lineSpacing() + 6));
        return size;
    }
};

class ColumnListBinder : public Binder {
  public:
    ColumnListBinder(QTreeWidget* list, ColumnList& model, std::function<void()> onClick = {});

  protected:
    void refresh() override;

  private:
    void showChosen();
    ColumnList& columns() const { return static_cast<ColumnList&>(model()); }

    QTreeWidget* list_;
    std::vector<std::string> shown_;
};

ColumnListBinder::ColumnListBinder(QTreeWidget* list, ColumnList& model, std::function<void()> onClick)
    : Binder(list, model), list_(list) {
    list->setRootIsDecorated(false);
    list->setUniformRowHeights(true);
    list->setItemDelegate(new RoomyRowDelegate(list));
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
    for (std::size_t i = shown_.size(); i < lines.size(); ++i) {
        auto* item = new QTreeWidgetItem(list_, qt(lines[i]).split(QChar(columns().separator())));
        // The full text where a narrow column cuts it.
        for (int column = 0; column < item->columnCount(); ++column)
            item->setToolTip(column, item->text(column));
    }
    shown_ = lines;
    showChosen();
}

void ColumnListBinder::showChosen() {
    const int index = columns().listIndex();
    QTreeWidgetItem* item = index >= 0 ? list_->topLevelItem(index) : nullptr;
    if (list_->currentItem() != item)
        list_->setCurrentItem(item);
}

class ColumnTableBinder : public Binder {
  public:
    ColumnTableBinder(QTableView* table, ColumnList& model, std::function<void()> onClick);
    ColumnTableFilter* filter() const { return filter_; }

  protected:
    void refresh() override;

  private:
    ColumnList& columns() const { return static_cast<ColumnList&>(model()); }

    QTableView* table_;
    ColumnTableModel* rows_;
    ColumnTableFilter* filter_;
};

ColumnTableBinder::ColumnTableBinder(QTableView* table, ColumnList& model, std::function<void()> onClick)
    : Binder(table, model),
      table_(table),
      rows_(new ColumnTableModel(model, table)),
      filter_(new ColumnTableFilter(table)) {
    filter_->setSourceModel(rows_);
    table->setModel(filter_);
    table->setItemDelegate(new RoomyRowDelegate(table));
    table->setSelectionBehavior(QAbstractItemView::SelectRows);
    table->setSelectionMode(QAbstractItemView::SingleSelection);
    table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table->setWordWrap(false);
    table->verticalHeader()->setVisible(false);
    table->verticalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    table->horizontalHeader()->setStretchLastSection(true);
    // Sortable by a click on a header; the table opens in the list's own order.
    table->horizontalHeader()->setSortIndicator(-1, Qt::AscendingOrder);
    table->setSortingEnabled(true);
    QObject::connect(table->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
                     [this, onClick = std::move(onClick)](const QModelIndex& current) {
                         if (applying())
                             return;
                         const QModelIndex line = filter_->mapToSource(current);
                         columns().setListIndex(line.isValid() ? line.row() : -1);
                         if (onClick)
                             onClick();
                     });
    apply();
}

void ColumnTableBinder::refresh() {
    refreshWidget(table_);
    rows_->follow();
    // The cells change as the lines are read: the columns follow them (a few dozen rows, measured at once),
    // except a column the view lets stretch into the room that is left.
    for (int column = 0; column < rows_->columnCount(); ++column)
        if (table_->horizontalHeader()->sectionResizeMode(column) == QHeaderView::Interactive)
            table_->resizeColumnToContents(column);
    const int index = columns().listIndex();
    const QModelIndex chosen = index >= 0 ? filter_->mapFromSource(rows_->index(index, 0)) : QModelIndex();
    if (!chosen.isValid()) {
        if (table_->currentIndex().isValid())
            table_->selectionModel()->clear();
    } else if (table_->currentIndex().row() != chosen.row()) {
        table_->selectionModel()->setCurrentIndex(
            chosen, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    }
}

// A drop-down list: the entries (the model keeps them sorted when it is a sorted list), the chosen entry in
// both directions, and the Click event when the user chooses an entry.
class ComboBoxBinder : public Binder {
  public:
    ComboBoxBinder(QComboBox* combo, ComboBox& model, std::function<void()> onClick = {});

  protected:
    void refresh() override;

  private:
    ComboBox& list() const { return static_cast<ComboBox&>(model()); }

    QComboBox* combo_;
    std::vector<ComboBox::Item> shown_;
};

ComboBoxBinder::ComboBoxBinder(QComboBox* combo, ComboBox& model, std::function<void()> onClick)
    : Binder(combo, model), combo_(combo) {
    combo->setEditable(false);
    QObject::connect(combo, &QComboBox::activated, this, [this, onClick = std::move(onClick)](int index) {
        list().setListIndex(index);
        if (onClick)
            onClick();
    });
    apply();
}

void ComboBoxBinder::refresh() {
    refreshWidget(combo_);
    const QSignalBlocker quiet(combo_);
    if (shown_ != list().items()) {
        shown_ = list().items();
        combo_->clear();
        for (const auto& item : shown_)
            combo_->addItem(qt(item.text), item.data);
    }
    if (combo_->currentIndex() != list().listIndex())
        combo_->setCurrentIndex(list().listIndex());
}

// A frame (a page or a group of controls): visible, enabled, tip, and its caption when it is a group box.
class FrameBinder : public Binder {
  public:
    FrameBinder(QWidget* frame, Frame& model);

  protected:
    void refresh() override;

  private:
    QWidget* frame_;
};

FrameBinder::FrameBinder(QWidget* frame, Frame& model) : Binder(frame, model), frame_(frame) {
    apply();
}

void FrameBinder::refresh() {
    refreshWidget(frame_);
    if (auto* box = qobject_cast<QGroupBox*>(frame_))
        box->setTitle(qt(model().caption()));
}

// A label: its caption is the text shown.
class LabelBinder : public Binder {
  public:
    LabelBinder(QLabel* label, Label& model);

  protected:
    void refresh() override;

  private:
    QLabel* label_;
};

LabelBinder::LabelBinder(QLabel* label, Label& model) : Binder(label, model), label_(label) {
    apply();
}

void LabelBinder::refresh() {
    refreshWidget(label_);
    label_->setText(screenLines(model().caption()));
}

// A masked entry field: the typed characters in both directions, the caret position set by the program, the
// change of the text, and the field taking the focus.
class MaskedFieldBinder : public Binder {
  public:
    MaskedFieldBinder(MaskedLineEdit* edit, MaskedField& model, std::function<void()> onChange = {},
                      std::function<void()> onFocus = {});

  protected:
    void refresh() override;

  private:
    MaskedField& field() const { return static_cast<MaskedField&>(model()); }

    MaskedLineEdit* edit_;
    int appliedSelStart_ = -1;
};

MaskedFieldBinder::MaskedFieldBinder(MaskedLineEdit* edit, MaskedField& model, std::function<void()> onChange,
                                     std::function<void()> onFocus)
    : Binder(edit, model), edit_(edit) {
    QObject::connect(edit, &QLineEdit::textEdited, this, [this, onChange = std::move(onChange)] {
        // The model takes what the widget holds; a refused key changes nothing and is no Change.
        const std::string before = field().text();
        // A character the mask lets in but the field does not hold (a letter with an accent) is taken back.
        if (!field().setText(str(edit_->text())))
            apply();
        if (onChange && field().text() != before)
            onChange();
    });
    edit->onFocusIn = [this, onFocus = std::move(onFocus)] {
        // The caret is where the user put it; the handler may move it.
        appliedSelStart_ = edit_->cursorPosition();
        field().setSelStart(appliedSelStart_);
        if (onFocus)
            onFocus();
    };
    apply();
}

void MaskedFieldBinder::refresh() {
    refreshWidget(edit_);
    const QString text = qt(field().text());
    if (edit_->text() != text) {
        edit_->setText(text);
        // The caret stands after the characters, where the next one goes.
        edit_->setCursorPosition(static_cast<int>(text.size()));
    }
    if (field().selStart() != appliedSelStart_) {
        appliedSelStart_ = field().selStart();
        edit_->setCursorPosition(appliedSelStart_);
    }
}

// A menu command: caption, enabled, visible, tip, and the Click event.
class MenuItemBinder : public Binder {
  public:
    MenuItemBinder(QAction* action, MenuItem& model, std::function<void()> onClick, QChar mnemonic = {});

  protected:
    void refresh() override;

  private:
    QAction* action_;
    QChar mnemonic_;
};

MenuItemBinder::MenuItemBinder(QAction* action, MenuItem& model, std::function<void()> onClick,
                               QChar mnemonic)
    : Binder(action, model), action_(action), mnemonic_(mnemonic) {
    QObject::connect(action, &QAction::triggered, this, [onClick = std::move(onClick)] {
        if (onClick)
            onClick();
    });
    apply();
}

void MenuItemBinder::refresh() {
    action_->setText(withMnemonic(model().caption(), mnemonic_));
    action_->setEnabled(model().enabled());
    action_->setVisible(model().visible());
    action_->setToolTip(qt(model().tip()));
    action_->setStatusTip(qt(model().tip()));
}

// An option button: caption, the choice in both directions and the Click event. The model's option group
// keeps the options of one container exclusive, so a group may also have no option chosen.
class OptionBinder : public Binder {
  public:
    OptionBinder(QRadioButton* radio, OptionButton& model, std::function<void()> onClick = {},
                 QChar mnemonic = {});

  protected:
    void refresh() override;

  private:
    OptionButton& option() const { return static_cast<OptionButton&>(model()); }

    QRadioButton* radio_;
    QChar mnemonic_;
};

OptionBinder::OptionBinder(QRadioButton* radio, OptionButton& model, std::function<void()> onClick,
                           QChar mnemonic)
    : Binder(radio, model), radio_(radio), mnemonic_(mnemonic) {
    // Qt's own exclusivity cannot show "no option chosen"; the model's group does the job.
    radio->setAutoExclusive(false);
    QObject::connect(radio, &QRadioButton::clicked, this, [this, onClick = std::move(onClick)] {
        // Clicking a chosen option keeps it chosen, as with any option button.
        option().setChecked(true);
        apply();
        if (onClick)
            onClick();
    });
    apply();
}

void OptionBinder::refresh() {
    refreshWidget(radio_);
    radio_->setText(withMnemonic(model().caption(), mnemonic_));
    if (radio_->isChecked() != option().checked())
        radio_->setChecked(option().checked());
}

// A progress bar: its value. The view sets the range.
class ProgressBarBinder : public Binder {
  public:
    ProgressBarBinder(QProgressBar* bar, ProgressBar& model);

  protected:
    void refresh() override;

  private:
    QProgressBar* bar_;
};

ProgressBarBinder::ProgressBarBinder(QProgressBar* bar, ProgressBar& model) : Binder(bar, model), bar_(bar) {
    apply();
}

void ProgressBarBinder::refresh() {
    refreshWidget(bar_);
    bar_->setValue(static_cast<ProgressBar&>(model()).value());
}

// A status bar with text panels: one label per panel (panel 1 first), its text and tip.
class StatusBarBinder : public Binder {
  public:
    // Adds one label per panel of the model to the bar; `stretching` (counted from 1) takes the spare width.
    StatusBarBinder(QStatusBar* bar, StatusBar& model, int stretching);

    const std::vector<QLabel*>& panels() const { return panels_; }

  protected:
    void refresh() override;

  private:
    StatusBar& status() const { return static_cast<StatusBar&>(model()); }

    QStatusBar* bar_;
    std::vector<QLabel*> panels_;
};

StatusBarBinder::StatusBarBinder(QStatusBar* bar, StatusBar& model, int stretching)
    : Binder(bar, model), bar_(bar) {
    bar->setSizeGripEnabled(true);
    for (int number = 1; number <= static_cast<int>(model.panels().size()); ++number) {
        auto* label = new QLabel(bar);
        label->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        label->setMinimumWidth(number == stretching ? 0 : 90);
        label->setContentsMargins(4, 0, 4, 0);
        bar->addPermanentWidget(label, number == stretching ? 1 : 0);
        panels_.push_back(label);
    }
    apply();
}

void StatusBarBinder::refresh() {
    refreshWidget(bar_);
    for (std::size_t i = 0; i < panels_.size(); ++i) {
        const auto& panel = status().panels()[i];
        panels_[i]->setText(qt(panel.text));
        panels_[i]->setToolTip(qt(panel.tip));
    }
}

// A tab control: the captions, which tabs are visible and enabled, the tab in front in both directions, and
// the Click event when the user brings another tab to the front. The view adds one page widget per tab of the
// model.
class TabsBinder : public Binder {
  public:
    TabsBinder(QTabWidget* tabs, TabControl& model, std::function<void()> onClick = {});

  protected:
    void refresh() override;

  private:
    TabControl& control() const { return static_cast<TabControl&>(model()); }

    QTabWidget* tabs_;
};

TabsBinder::TabsBinder(QTabWidget* tabs, TabControl& model, std::function<void()> onClick)
    : Binder(tabs, model), tabs_(tabs) {
    QObject::connect(tabs, &QTabWidget::currentChanged, this,
                     [this, onClick = std::move(onClick)](int index) {
                         if (applying() || index < 0)
                             return;
                         control().setTab(index);
                         if (onClick)
                             onClick();
                     });
    apply();
}

void TabsBinder::refresh() {
    refreshWidget(tabs_);
    const auto& tabs = control().tabs();
    const int count = std::min<int>(tabs_->count(), static_cast<int>(tabs.size()));
    for (int i = 0; i < count; ++i) {
        tabs_->setTabText(i, qt(tabs[i].caption));
        tabs_->setTabVisible(i, tabs[i].visible);
        tabs_->setTabEnabled(i, tabs[i].enabled);
    }
    if (control().tab() >= 0 && control().tab() < count && tabs_->currentIndex() != control().tab())
        tabs_->setCurrentIndex(control().tab());
}

// A table of the logic's rows: a model over the rows shown (no item per row), the chosen row in both
// directions, and the Click event when the user chooses another row.
class TableListModel : public QAbstractTableModel {
  public:
    TableListModel(const TableList& list, QObject* parent) : QAbstractTableModel(parent), list_(list) {}
    void reset() {
        beginResetModel();
        endResetModel();
    }
    int rowCount(const QModelIndex& parent = {}) const override {
        return parent.isValid() ? 0 : static_cast<int>(list_.shown().size());
    }
    int columnCount(const QModelIndex& parent = {}) const override {
        return parent.isValid() ? 0 : static_cast<int>(list_.headers().size());
    }
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override {
        if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
            return {};
        return qt(list_.headers().at(static_cast<std::size_t>(section)));
    }
    QVariant data(const QModelIndex& index, int role) const override {
        if (role != Qt::DisplayRole && role != Qt::ToolTipRole)
            return {};
        const auto& cells = rowAt(index.row()).cells;
        const auto column = static_cast<std::size_t>(index.column());
        return column < cells.size() ? qt(cells[column]) : QString();
    }
    const TableList::Row& rowAt(int shownRow) const {
        return list_.rows().at(
            static_cast<std::size_t>(list_.shown().at(static_cast<std::size_t>(shownRow))));
    }

  private:
    const TableList& list_;
};

class TableListBinder : public Binder {
  public:
    TableListBinder(QTableView* table, TableList& model, std::function<void()> onClick);

  protected:
    void refresh() override;

  private:
    TableList& list() const { return static_cast<TableList&>(model()); }

    QTableView* table_;
    TableListModel* rows_;
    std::uint64_t revision_ = 0;
};

TableListBinder::TableListBinder(QTableView* table, TableList& model, std::function<void()> onClick)
    : Binder(table, model), table_(table), rows_(new TableListModel(model, table)) {
    table->setModel(rows_);
    table->setSelectionBehavior(QAbstractItemView::SelectRows);
    table->setSelectionMode(QAbstractItemView::SingleSelection);
    table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    // Tab leaves the table, as it leaves every other field; the arrow keys move between rows.
    table->setTabKeyNavigation(false);
    table->setItemDelegate(new RoomyRowDelegate(table));
    table->verticalHeader()->setVisible(false);
    table->verticalHeader()->setDefaultSectionSize(table->fontMetrics().lineSpacing() + 6);
    table->horizontalHeader()->setStretchLastSection(true);
    table->horizontalHeader()->setResizeContentsPrecision(200);
    QObject::connect(table->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
                     [this, onClick = std::move(onClick)](const QModelIndex& current) {
                         if (applying() || !current.isValid())
                             return;
                         list().setChosen(rows_->rowAt(current.row()).key);
                         if (onClick)
                             onClick();
                     });
    apply();
}

void TableListBinder::refresh() {
    refreshWidget(table_);
    if (revision_ != list().revision() || rows_->rowCount() != static_cast<int>(list().shown().size())) {
        rows_->reset();
        table_->resizeColumnsToContents();
        revision_ = list().revision();
    }
    int chosen = -1;
    if (const auto key = list().chosen())
        for (int row = 0; row < rows_->rowCount() && chosen < 0; ++row)
            if (rows_->rowAt(row).key == *key)
                chosen = row;
    const QModelIndex current = table_->selectionModel()->currentIndex();
    if (chosen < 0) {
        table_->selectionModel()->clear();
    } else if (current.row() != chosen) {
        const QModelIndex index = rows_->index(chosen, 0);
        table_->selectionModel()->setCurrentIndex(
            index, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
        table_->scrollTo(index);
    }
}

// A text box: the text in both directions, the caret position set by the program, and the Change event (the
// user edited the text).
class TextBoxBinder : public Binder {
  public:
    TextBoxBinder(QLineEdit* edit, TextBox& model, std::function<void()> onChange = {});

  protected:
    void refresh() override;

  private:
    TextBox& box() const { return static_cast<TextBox&>(model()); }

    QLineEdit* edit_;
    int appliedSelStart_ = -1;
};

TextBoxBinder::TextBoxBinder(QLineEdit* edit, TextBox& model, std::function<void()> onChange)
    : Binder(edit, model), edit_(edit) {
    QObject::connect(edit, &QLineEdit::textEdited, this,
                     [this, onChange = std::move(onChange)](const QString& text) {
                         box().setText(str(text));
                         if (onChange)
                             onChange();
                     });
    apply();
}

void TextBoxBinder::refresh() {
    refreshWidget(edit_);
    edit_->setMaxLength(box().maxLength() > 0 ? box().maxLength() : 32767);
    const QString text = qt(box().text());
    if (edit_->text() != text)
        edit_->setText(text);
    if (box().selStart() != appliedSelStart_) {
        appliedSelStart_ = box().selStart();
        edit_->setCursorPosition(appliedSelStart_);
    }
}

// A top-level window: caption, shown or hidden, and its place on the screen in both directions (the model
// follows the user moving and resizing the window; a placement set by the program moves the window). The
// model's geometry is the outer frame in screen pixels. A place the model learnt from the window is never
// imposed again: learnt before the window manager placed the window, it would pull its frame to the corner.
class WindowBinder : public Binder {
  public:
    WindowBinder(QWidget* window, Window& model);

  protected:
    void refresh() override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    Window& window() const { return static_cast<Window&>(model()); }
    void placeFromModel();
    // The model learns where the window is.
    void learnPlace();

    QWidget* widget_;
    Window::Geometry learnt_{};
};

namespace {

Window::Geometry frameOf(const QWidget* widget) {
    const QRect frame = widget->frameGeometry();
    return {frame.left(), frame.top(), frame.width(), frame.height()};
}

}  // namespace

WindowBinder::WindowBinder(QWidget* window, Window& model) : Binder(window, model), widget_(window) {
    window->installEventFilter(this);
    apply();
}

void WindowBinder::refresh() {
    widget_->setWindowTitle(qt(model().caption()));
    widget_->setEnabled(model().enabled());
    widget_->setToolTip(qt(model().tip()));
    if (model().visible() && widget_->isHidden()) {
        widget_->show();
        widget_->raise();
        widget_->activateWindow();
    } else if (!model().visible() && !widget_->isHidden()) {
        widget_->hide();
    }
    // Placed once shown, when the size of the window's frame is known.
    placeFromModel();
    // The window system may have placed the window otherwise than asked (or it was never placed): the model
    // learns where it really is.
    if (widget_->isVisible())
        learnPlace();
}

void WindowBinder::learnPlace() {
    learnt_ = frameOf(widget_);
    window().setGeometry(learnt_);
}

void WindowBinder::placeFromModel() {
    const Window::Geometry wanted = window().geometry();
    if (wanted.width <= 0 || wanted.height <= 0 || wanted == learnt_ || wanted == frameOf(widget_))
        return;
    // The frame's decoration (title bar, borders) is outside the client size that resize() sets.
    const QSize decoration = widget_->frameGeometry().size() - widget_->size();
    widget_->move(wanted.left, wanted.top);
    widget_->resize(std::max(1, wanted.width - decoration.width()),
                    std::max(1, wanted.height - decoration.height()));
}

bool WindowBinder::eventFilter(QObject* watched, QEvent* event) {
    if (watched == widget_ && !applying()) {
        switch (event->type()) {
            case QEvent::Move:
            case QEvent::Resize:
                learnPlace();
                break;
            // A window closed by its close box is hidden; minimising hides it only spontaneously.
            case QEvent::Hide:
                if (!event->spontaneous())
                    window().setVisible(false);
                break;
            case QEvent::Show:
                if (!event->spontaneous())
                    window().setVisible(true);
                break;
            default:
                break;
        }
    }
    return false;
}

}  // namespace

void bindButton(QAbstractButton* button, Button& model, std::function<void()> onClick, QChar mnemonic) {
    new ButtonBinder(button, model, std::move(onClick), mnemonic);
}

void bindCheckBox(QCheckBox* box, CheckBox& model, std::function<void()> onClick, QChar mnemonic) {
    new CheckBoxBinder(box, model, std::move(onClick), mnemonic);
}

void bindCheckTree(QTreeWidget* tree, CheckTree& model, std::function<void(int)> onNodeCheck) {
    new CheckTreeBinder(tree, model, std::move(onNodeCheck));
}

void bindColumnList(QTreeWidget* list, ColumnList& model, std::function<void()> onClick) {
    new ColumnListBinder(list, model, std::move(onClick));
}

ColumnTableFilter* bindColumnTable(QTableView* table, ColumnList& model, std::function<void()> onClick) {
    return (new ColumnTableBinder(table, model, std::move(onClick)))->filter();
}

void bindComboBox(QComboBox* combo, ComboBox& model, std::function<void()> onClick) {
    new ComboBoxBinder(combo, model, std::move(onClick));
}

void bindFrame(QWidget* frame, Frame& model) {
    new FrameBinder(frame, model);
}

void bindLabel(QLabel* label, Label& model) {
    new LabelBinder(label, model);
}

void bindMaskedField(MaskedLineEdit* edit, MaskedField& model, std::function<void()> onChange,
                     std::function<void()> onFocus) {
    new MaskedFieldBinder(edit, model, std::move(onChange), std::move(onFocus));
}

void bindMenuItem(QAction* action, MenuItem& model, std::function<void()> onClick, QChar mnemonic) {
    new MenuItemBinder(action, model, std::move(onClick), mnemonic);
}

void bindOption(QRadioButton* radio, OptionButton& model, std::function<void()> onClick, QChar mnemonic) {
    new OptionBinder(radio, model, std::move(onClick), mnemonic);
}

void bindProgressBar(QProgressBar* bar, ProgressBar& model) {
    new ProgressBarBinder(bar, model);
}

std::vector<QLabel*> bindStatusBar(QStatusBar* bar, StatusBar& model, int stretching) {
    return (new StatusBarBinder(bar, model, stretching))->panels();
}

void bindTabs(QTabWidget* tabs, TabControl& model, std::function<void()> onClick) {
    new TabsBinder(tabs, model, std::move(onClick));
}

void bindTableList(QTableView* table, TableList& model, std::function<void()> onClick) {
    new TableListBinder(table, model, std::move(onClick));
}

void bindTextBox(QLineEdit* edit, TextBox& model, std::function<void()> onChange) {
    new TextBoxBinder(edit, model, std::move(onChange));
}

void bindWindow(QWidget* window, Window& model) {
    new WindowBinder(window, model);
}

}  // namespace pnl::ui
