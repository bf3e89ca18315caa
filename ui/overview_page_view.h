#pragma once
// The page "Bewohnerübersicht": a search field ("Suchen …", Ctrl+F) over a sortable table of every resident
// (a model over the overview's rows and a sort/filter proxy, no widget per row), the buttons for the stations
// of the chosen rows, export and import. A double click opens the resident on the resident page.

#include <QDialog>
#include <QGroupBox>
#include <QSortFilterProxyModel>
#include <cstdint>
#include <functional>
#include <optional>

#include "platform/collation.h"

class QCheckBox;
class QLineEdit;
class QPushButton;
class QTableView;

namespace pnl {
struct OverviewPageForm;
class OverviewPage;
struct ImportPreview;
}  // namespace pnl

namespace pnl::ui {

class ResidentTableModel;

// Filters the rows by the resident search and sorts them in German order (ä with a, ß as ss), numbers by
// value.
class ResidentFilter : public QSortFilterProxyModel {
  public:
    ResidentFilter(const OverviewPage& page, QObject* parent);
    void setSearch(const std::string& search);
    void setSourceModel(QAbstractItemModel* source) override;

  protected:
    bool filterAcceptsRow(int sourceRow, const QModelIndex& sourceParent) const override;
    bool lessThan(const QModelIndex& left, const QModelIndex& right) const override;

  private:
    const std::vector<std::string>& sortKeys(int column) const;

    const OverviewPage& page_;
    TextSearch search_;
    // The sort keys of the text column sorted last, one per row: built once per sort, not per comparison.
    mutable std::vector<std::string> keys_;
    mutable int keyColumn_ = -1;
};

class OverviewPageView : public QGroupBox {
  public:
    OverviewPageView(OverviewPageForm& form, OverviewPage& page, QWidget* parent = nullptr);

    QLineEdit* searchField() const { return search_; }
    QTableView* table() const { return table_; }
    ResidentFilter* filter() const { return filter_; }
    // The IDs of the chosen rows.
    std::vector<std::int64_t> chosenIds() const;

    // What the user answers; the defaults show the dialogs, tests replace them.
    std::function<std::optional<int>(bool assign)> chooseStation;
    std::function<QString()> chooseExportFile;
    std::function<QString()> chooseImportFile;
    // Nothing: "Abbrechen"; else whether the residents missing from the file are removed.
    std::function<std::optional<bool>(const ImportPreview&)> confirmImport;
    // A double click on a row.
    std::function<void(std::int64_t id)> openResident;

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void stationOfChosen(bool assign);
    void exportFile();
    void importFile();

    OverviewPageForm& form_;
    OverviewPage& page_;
    QLineEdit* search_;
    QTableView* table_;
    ResidentTableModel* model_;
    ResidentFilter* filter_;
};

// The import preview: one line per row, the summary, the choice to remove the residents the file does not
// name, "Importieren" (only for a file without errors) and "Abbrechen".
class ImportPreviewDialog : public QDialog {
  public:
    ImportPreviewDialog(const ImportPreview& preview, QWidget* parent);
    bool removeMissing() const;

  private:
    QCheckBox* remove_;
};

}  // namespace pnl::ui
