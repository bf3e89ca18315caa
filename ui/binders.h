#pragma once
// Every binder: one per control kind. A window builds its widgets and binds each to its control model with
// the bindX function of the kind, passing the controller's handler for the control's event. The binder
// mirrors the model into the widget (enabled, visible, tip, and whatever the kind adds) and forwards the
// widget's user events to the handler; it is a child of its widget, so it goes when the widget goes, and the
// models outlive the windows.

#include <QChar>
#include <QString>
#include <functional>
#include <string>
#include <vector>

#include "forms/controls.h"
#include "ui/masked_line_edit.h"

class QAbstractButton;
class QAction;
class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QProgressBar;
class QRadioButton;
class QStatusBar;
class QTabWidget;
class QTableView;
class QTreeWidget;
class QWidget;

namespace pnl::ui {

inline QString qt(const std::string& text) {
    return QString::fromStdString(text);
}
inline std::string str(const QString& text) {
    return text.toStdString();
}

// A caption with a keyboard mnemonic: '&' goes before the first occurrence of `letter` (any case); a literal
// '&' of the caption stays visible.
QString withMnemonic(const std::string& caption, QChar letter);

// A command button: caption (with an optional keyboard mnemonic) and the Click event.
void bindButton(QAbstractButton* button, Button& model, std::function<void()> onClick, QChar mnemonic = {});

// A check box: caption, the tick in both directions, and the Click event when the user changes the tick.
void bindCheckBox(QCheckBox* box, CheckBox& model, std::function<void()> onClick = {}, QChar mnemonic = {});

// A tree with a check box per node (top-level nodes only): the nodes, their ticks in both directions, and the
// NodeCheck event with the index of the node the user ticked or cleared.
void bindCheckTree(QTreeWidget* tree, CheckTree& model, std::function<void(int index)> onNodeCheck = {});

// A multi-column list: the headers and the lines, each line shown split at the model's column separator; the
// line the user chooses becomes the model's list index.
void bindColumnList(QTreeWidget* list, ColumnList& model, std::function<void()> onClick = {});

class ColumnTableFilter;

// A multi-column list as a table (ui/column_table.h), sortable by a click on a header: the headers and the
// lines; the row the user chooses becomes the model's list index, and the index the program sets is shown
// chosen. Returns the filter that takes the window's search.
ColumnTableFilter* bindColumnTable(QTableView* table, ColumnList& model, std::function<void()> onClick = {});

// A drop-down list: the entries (the model keeps them sorted when it is a sorted list), the chosen entry in
// both directions, and the Click event when the user chooses an entry.
void bindComboBox(QComboBox* combo, ComboBox& model, std::function<void()> onClick = {});

// A frame (a page or a group of controls): visible, enabled, tip, and its caption when it is a group box.
void bindFrame(QWidget* frame, Frame& model);

// A label: its caption is the text shown.
void bindLabel(QLabel* label, Label& model);

// Line breaks as the program writes them ("\n\r", "\r\n" or a single one) as one line break on screen.
QString screenLines(const std::string& text);

// A masked entry field: the typed characters in both directions, the caret position set by the program, the
// change of the text, and the field taking the focus.
void bindMaskedField(MaskedLineEdit* edit, MaskedField& model, std::function<void()> onChange = {},
                     std::function<void()> onFocus = {});

// A menu command: caption, enabled, visible, tip, and the Click event.
void bindMenuItem(QAction* action, MenuItem& model, std::function<void()> onClick, QChar mnemonic = {});

// An option button: caption, the choice in both directions and the Click event. The model's option group
// keeps the options of one container exclusive, so a group may also have no option chosen.
void bindOption(QRadioButton* radio, OptionButton& model, std::function<void()> onClick = {},
                QChar mnemonic = {});

// A progress bar: its value. The view sets the range.
void bindProgressBar(QProgressBar* bar, ProgressBar& model);

// A status bar with text panels: one label per panel (panel 1 first), its text and tip.
// Returns the panels' labels, panel 1 first.
std::vector<QLabel*> bindStatusBar(QStatusBar* bar, StatusBar& model, int stretching);

// A tab control: the captions, which tabs are visible and enabled, the tab in front in both directions, and
// the Click event when the user brings another tab to the front. The view adds one page widget per tab of the
// model.
void bindTabs(QTabWidget* tabs, TabControl& model, std::function<void()> onClick = {});

// A table of rows that the logic fills: the rows it shows, the chosen row in both directions (the view
// scrolls to it), and the Click event when the user chooses another row, by mouse or keys.
void bindTableList(QTableView* table, TableList& model, std::function<void()> onClick = {});

// A text box: the text in both directions, the caret position set by the program, and the Change event (the
// user edited the text).
void bindTextBox(QLineEdit* edit, TextBox& model, std::function<void()> onChange = {});

// A top-level window: caption, shown or hidden, and its place on the screen in both directions (the model
// follows the user moving and resizing the window; a placement set by the program moves the window). The
// model's geometry is the outer frame in screen pixels.
void bindWindow(QWidget* window, Window& model);

}  // namespace pnl::ui
