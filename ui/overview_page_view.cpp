#include "ui/overview_page_view.h"

#include <QAbstractTableModel>
#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QInputDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QShortcut>
#include <QTableView>
#include <QVBoxLayout>

#include "forms/overview_page.h"
#include "overview/overview_page.h"
#include "overview/resident_export.h"
#include "platform/collation.h"
#include "ui/binders.h"
#include "ui/table_columns.h"

namespace pnl::ui {

namespace {

enum FixedColumn { kName, kFirstName, kApartment, kSerial, kSecondSerial, kCode, kFixedColumns };
// The names of the resident page, over two lines where they are wider than their numbers: so the columns of
// three stations fit a screen of 1024 pixels.
const char* const kFixedHeaders[kFixedColumns] = {
    "Name", "Vorname", "Wohnungs-\nnummer", "Serien-\nnummer 1", "Serien-\nnummer 2", "Code"};

// Shown blank when 0; sorted by value, the blanks first.
QVariant number(std::int64_t value, int role) {
    if (role == Qt::UserRole)
        return static_cast<qlonglong>(value);
    return value > 0 ? QVariant(static_cast<qlonglong>(value)) : QVariant(QString());
}

}  // namespace

// The overview's rows as a table: the fixed columns, one check column per station, "Anzeige".
class ResidentTableModel : public QAbstractTableModel {
  public:
    ResidentTableModel(OverviewPage& page, QObject* parent) : QAbstractTableModel(parent), page_(page) {}

    void reset() {
        beginResetModel();
        endResetModel();
    }
    void rowsChanged(std::size_t first, std::size_t last) {
        emit dataChanged(index(static_cast<int>(first), kFixedColumns),
                         index(static_cast<int>(last), displayColumn()));
    }
    bool isStationColumn(int column) const { return column >= kFixedColumns && column < displayColumn(); }
    int stationCount() const { return static_cast<int>(page_.overview().stations.size()); }
    int displayColumn() const { return kFixedColumns + stationCount(); }

    int rowCount(const QModelIndex& parent = {}) const override {
        return parent.isValid() ? 0 : static_cast<int>(page_.overview().rows.size());
    }
    int columnCount(const QModelIndex& parent = {}) const override {
        return parent.isValid() ? 0 : displayColumn() + 1;
    }
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override {
        if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
            return {};
        if (section < kFixedColumns)
            return QString(kFixedHeaders[section]);
        if (section < displayColumn())
            return qt(page_.overview().stations[section - kFixedColumns].label);
        return QString("Anzeige");
    }
    Qt::ItemFlags flags(const QModelIndex& index) const override {
        const Qt::ItemFlags flags = QAbstractTableModel::flags(index);
        return isStationColumn(index.column()) && page_.mayAssign() ? flags | Qt::ItemIsUserCheckable : flags;
    }
    // A tick box the user clicked: written at once.
    bool setData(const QModelIndex& index, const QVariant& value, int role) override {
        if (role != Qt::CheckStateRole || !isStationColumn(index.column()))
            return false;
        page_.TickStation(
            static_cast<std::size_t>(index.row()),
            page_.overview().stations.at(static_cast<std::size_t>(index.column() - kFixedColumns)).number,
            value.toInt() == Qt::Checked);
        return true;
    }
    QVariant data(const QModelIndex& index, int role) const override {
        const OverviewRow& row = page_.overview().rows.at(index.row());
        const int column = index.column();
        if (isStationColumn(column)) {
            const bool on = row.stations.test(page_.overview().stations[column - kFixedColumns].number);
            if (role == Qt::CheckStateRole)
                return on ? Qt::Checked : Qt::Unchecked;
            if (role == Qt::UserRole)
                return on ? 1 : 0;
            return {};
        }
        if (column == displayColumn()) {
            if (role == Qt::DisplayRole || role == Qt::UserRole)
                return qt(row.display.marked);
            if (role == Qt::ToolTipRole && row.display.changed())
                return qt(row.display.tip);
            return {};
        }
        if (role != Qt::DisplayRole && role != Qt::UserRole)
            return {};
        switch (column) {
            case kName:
                return qt(row.name);
            case kFirstName:
                return qt(row.firstName);
            case kApartment:
                return qt(row.apartment);
            case kSerial:
                return number(row.serial, role);
            case kSecondSerial:
                return number(row.secondSerial, role);
            case kCode:
                return number(row.code, role);
        }
        return {};
    }

  private:
    OverviewPage& page_;
};

ResidentFilter::ResidentFilter(const OverviewPage& page, QObject* parent)
    : QSortFilterProxyModel(parent), page_(page) {
    setSortRole(Qt::UserRole);
}

void ResidentFilter::setSearch(const std::string& search) {
    search_ = TextSearch(search);
    invalidateRowsFilter();
}

void ResidentFilter::setSourceModel(QAbstractItemModel* source) {
    // Connected before the proxy's own handlers, which sort again with the keys.
    connect(source, &QAbstractItemModel::modelAboutToBeReset, this, [this] { keyColumn_ = -1; });
    connect(source, &QAbstractItemModel::dataChanged, this, [this] { keyColumn_ = -1; });
    QSortFilterProxyModel::setSourceModel(source);
}

bool ResidentFilter::filterAcceptsRow(int sourceRow, const QModelIndex&) const {
    return search_.empty() || search_.matches(page_.overview().rows.at(sourceRow).searchText);
}

bool ResidentFilter::lessThan(const QModelIndex& left, const QModelIndex& right) const {
    const QVariant a = left.data(sortRole());
    if (a.typeId() != QMetaType::QString)
        return a.toLongLong() < right.data(sortRole()).toLongLong();
    const std::vector<std::string>& keys = sortKeys(left.column());
    return keys.at(static_cast<std::size_t>(left.row())) < keys.at(static_cast<std::size_t>(right.row()));
}

const std::vector<std::string>& ResidentFilter::sortKeys(int column) const {
    if (keyColumn_ != column) {
        const int rows = sourceModel()->rowCount();
        keys_.resize(static_cast<std::size_t>(rows));
        for (int row = 0; row < rows; ++row)
            keys_[static_cast<std::size_t>(row)] =
                sortKey(str(sourceModel()->index(row, column).data(sortRole()).toString()));
        keyColumn_ = column;
    }
    return keys_;
}

OverviewPageView::OverviewPageView(OverviewPageForm& form, OverviewPage& page, QWidget* parent)
    : QGroupBox(parent), form_(form), page_(page) {
    search_ = new QLineEdit(this);
    search_->setPlaceholderText("Suchen …");
    search_->setClearButtonEnabled(true);
    auto* count = new QLabel(this);

    model_ = new ResidentTableModel(page, this);
    filter_ = new ResidentFilter(page, this);
    filter_->setSourceModel(model_);
    table_ = new QTableView(this);
    table_->setModel(filter_);
    table_->setSelectionBehavior(QAbstractItemView::SelectRows);
    table_->setSelectionMode(QAbstractItemView::ExtendedSelection);
    table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table_->verticalHeader()->setVisible(false);
    table_->verticalHeader()->setDefaultSectionSize(table_->fontMetrics().height() + 6);
    table_->horizontalHeader()->setStretchLastSection(true);
    // Column widths from the headers and the first rows: measuring all 20,000 would hold up the opening.
    table_->horizontalHeader()->setResizeContentsPrecision(200);
    // Sortable by a click on a header; the table opens in the table's own order.
    table_->horizontalHeader()->setSortIndicator(-1, Qt::AscendingOrder);
    table_->setSortingEnabled(true);
    keepColumnsFitted(table_);

    auto* assign = new QPushButton(this);
    auto* unassign = new QPushButton(this);
    auto* exportButton = new QPushButton(this);
    auto* importButton = new QPushButton(this);
    auto* outcome = new QLabel(this);

    auto* top = new QHBoxLayout;
    top->addWidget(search_, 1);
    top->addWidget(count);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(assign);
    buttons->addWidget(unassign);
    buttons->addStretch();
    buttons->addWidget(exportButton);
    buttons->addWidget(importButton);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(table_, 1);
    layout->addLayout(buttons);
    layout->addWidget(outcome);

    auto* find = new QShortcut(QKeySequence::Find, this);
    connect(find, &QShortcut::activated, search_, [this] {
        search_->setFocus(Qt::ShortcutFocusReason);
        search_->selectAll();
    });

    // Mnemonics stay clear of the menu bar's (S, D, B, P, I, E).
    bindFrame(this, form.overviewFrame);
    bindTextBox(search_, form.search, [this] {
        filter_->setSearch(form_.search.text());
        page_.ShowCount(filter_->rowCount());
    });
    bindLabel(count, form.residentCount);
    bindLabel(outcome, form.outcome);
    bindButton(
        assign, form.assign, [this] { stationOfChosen(true); }, 'z');
    bindButton(
        unassign, form.unassign, [this] { stationOfChosen(false); }, 'V');
    bindButton(
        exportButton, form.exportResidents, [this] { exportFile(); }, 'x');
    bindButton(
        importButton, form.importResidents, [this] { importFile(); }, 'm');

    // A click on a tick box changes the tick, not the marking of the rows.
    table_->viewport()->installEventFilter(this);
    page.rowsChanged = [this](std::size_t first, std::size_t last) { model_->rowsChanged(first, last); };
    page.reloaded = [this] {
        model_->reset();
        fitColumns(table_);
        page_.ShowCount(filter_->rowCount());
    };
    connect(table_, &QTableView::doubleClicked, this, [this](const QModelIndex& index) {
        const QModelIndex source = filter_->mapToSource(index);
        if (source.isValid() && openResident)
            openResident(page_.overview().rows.at(source.row()).id);
    });

    chooseStation = [this](bool assignIt) -> std::optional<int> {
        QStringList items;
        for (const StationRecord& station : page_.overview().stations)
            items << qt(stationColumn(station));
        if (items.isEmpty())
            return std::nullopt;
        // Its own buttons, so that they read German with or without Qt's translation.
        QInputDialog dialog(this);
        dialog.setWindowTitle(assignIt ? "PNL zuordnen" : "Von PNL entfernen");
        dialog.setLabelText(assignIt ? "Die markierten Bewohner dieser PNL zuordnen:"
                                     : "Die markierten Bewohner von dieser PNL entfernen:");
        dialog.setComboBoxItems(items);
        dialog.setComboBoxEditable(false);
        dialog.setOkButtonText("&OK");
        dialog.setCancelButtonText("&Abbrechen");
        if (dialog.exec() != QDialog::Accepted)
            return std::nullopt;
        const qsizetype chosen = items.indexOf(dialog.textValue());
        if (chosen < 0)
            return std::nullopt;
        return page_.overview().stations.at(static_cast<std::size_t>(chosen)).number;
    };
    chooseExportFile = [this] {
        return QFileDialog::getSaveFileName(this, "Bewohner exportieren",
                                            qt(page_.folder() + "/bewohner.csv"), "CSV-Dateien (*.csv)");
    };
    chooseImportFile = [this] {
        return QFileDialog::getOpenFileName(this, "Bewohner importieren", qt(page_.folder()),
                                            "CSV-Dateien (*.csv);;Alle Dateien (*)");
    };
    confirmImport = [this](const ImportPreview& preview) -> std::optional<bool> {
        ImportPreviewDialog dialog(preview, this);
        if (dialog.exec() != QDialog::Accepted)
            return std::nullopt;
        return dialog.removeMissing();
    };
}

bool OverviewPageView::eventFilter(QObject* watched, QEvent* event) {
    const QEvent::Type type = event->type();
    if (watched != table_->viewport() ||
        (type != QEvent::MouseButtonPress && type != QEvent::MouseButtonRelease &&
         type != QEvent::MouseButtonDblClick))
        return QGroupBox::eventFilter(watched, event);
    const auto* mouse = static_cast<QMouseEvent*>(event);
    const QModelIndex index = table_->indexAt(mouse->position().toPoint());
    if (mouse->button() != Qt::LeftButton || !(index.flags() & Qt::ItemIsUserCheckable))
        return QGroupBox::eventFilter(watched, event);
    if (type == QEvent::MouseButtonPress) {
        const bool ticked = index.data(Qt::CheckStateRole).toInt() == Qt::Checked;
        filter_->setData(index, ticked ? Qt::Unchecked : Qt::Checked, Qt::CheckStateRole);
    }
    return true;
}

std::vector<std::int64_t> OverviewPageView::chosenIds() const {
    std::vector<std::int64_t> ids;
    for (const QModelIndex& index : table_->selectionModel()->selectedRows())
        ids.push_back(page_.overview().rows.at(filter_->mapToSource(index).row()).id);
    return ids;
}

void OverviewPageView::stationOfChosen(bool assign) {
    const std::vector<std::int64_t> ids = chosenIds();
    if (ids.empty()) {
        form_.outcome.setCaption("Markieren Sie zuerst die Bewohner in der Tabelle.");
        return;
    }
    if (const auto station = chooseStation ? chooseStation(assign) : std::nullopt)
        page_.SetStation(ids, *station, assign);
}

void OverviewPageView::exportFile() {
    const QString path = chooseExportFile ? chooseExportFile() : QString();
    if (!path.isEmpty())
        page_.Export(path.toStdString());
}

void OverviewPageView::importFile() {
    const QString path = chooseImportFile ? chooseImportFile() : QString();
    if (path.isEmpty())
        return;
    const ImportPreview preview = page_.PreviewImport(path.toStdString());
    if (const auto removeMissing = confirmImport ? confirmImport(preview) : std::nullopt)
        page_.Import(preview, *removeMissing);
}

ImportPreviewDialog::ImportPreviewDialog(const ImportPreview& preview, QWidget* parent) : QDialog(parent) {
    setWindowTitle("Bewohner importieren");
    auto* summary = new QLabel(qt(previewSummary(preview, false)), this);
    summary->setWordWrap(true);
    auto* lines = new QPlainTextEdit(this);
    lines->setReadOnly(true);
    lines->setLineWrapMode(QPlainTextEdit::NoWrap);
    QString text;
    // Errors first: they are what the user must mend.
    for (bool errors : {true, false})
        for (const ImportRow& row : preview.rows)
            if ((row.status == ImportStatus::Error) == errors)
                text += qt(previewLine(row)) + '\n';
    lines->setPlainText(text);
    remove_ = new QCheckBox(qt("Bewohner entfernen, die nicht in der Datei stehen (" +
                               std::to_string(preview.missing.size()) + ")"),
                            this);
    remove_->setEnabled(preview.importable() && !preview.missing.empty());
    connect(remove_, &QCheckBox::toggled, summary,
            [summary, &preview](bool on) { summary->setText(qt(previewSummary(preview, on))); });
    auto* buttons = new QDialogButtonBox(this);
    QPushButton* import = buttons->addButton("&Importieren", QDialogButtonBox::AcceptRole);
    buttons->addButton("&Abbrechen", QDialogButtonBox::RejectRole)->setDefault(true);
    import->setEnabled(preview.importable());
    import->setAutoDefault(false);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(summary);
    layout->addWidget(lines, 1);
    layout->addWidget(remove_);
    layout->addWidget(buttons);
    resize(720, 480);
}

bool ImportPreviewDialog::removeMissing() const {
    return remove_->isChecked();
}

}  // namespace pnl::ui
