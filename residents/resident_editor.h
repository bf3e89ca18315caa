#pragma once
// The resident editor: the page residentFrame of the main window, where the user lists, shows, creates,
// changes and deletes residents and ticks the display stations each one is sent to. The handlers carry the
// names of the page's events; the user level's rights are set on the controls by the main window and only
// respected here.

#include <functional>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "app/resident_fields.h"
#include "app/resident_table.h"
#include "forms/resident_page.h"
#include "residents/display_line.h"
#include "residents/resident_form_mapping.h"
#include "residents/resident_list.h"

namespace pnl {

class Program;

class ResidentEditor {
  public:
    enum class DisplayMode { Name, Serial, Apartment };

    ResidentEditor(Program& program, ResidentPageForm& form);
    ~ResidentEditor();
    ResidentEditor(const ResidentEditor&) = delete;
    ResidentEditor& operator=(const ResidentEditor&) = delete;

    // Events of the page. Leaving a resident with unsaved changes asks first; "Abbrechen" stays.
    void showByName() { leaveForMode(DisplayMode::Name); }
    void showBySerial() { leaveForMode(DisplayMode::Serial); }
    void showByApartment() { leaveForMode(DisplayMode::Apartment); }
    void residentChosen();
    // A row of the resident list beside the form chosen; its search text edited.
    void residentPicked();
    void listSearchChanged();
    void newResident();
    void save();
    void deleteResident();
    void selectAllStations();
    void selectNoStations();
    void serialFocused() { form_.serial.setSelStart(0); }
    void secondSerialFocused() { form_.secondSerial.setSelStart(0); }
    void accessCodeFocused() { form_.accessCode.setSelStart(0); }
    void apartmentFocused() { form_.apartment.setSelStart(0); }

    void OpenResidentView();
    void ClearResidentForm();
    void FillResidentList();
    void SelectResident();
    void ShowResident();
    // True when the form's contents are in the table afterwards (written, or nothing to write).
    bool SaveResident();
    void DeleteResident();

    // The form differs from the resident it shows (or from the empty form of a new one).
    bool hasUnsavedChanges() const { return mapping_.state() != savedState_; }
    // Before the form is left: asks whether unsaved changes are saved ("Ja"), dropped ("Nein") or the user
    // stays ("Abbrechen", result false).
    bool leaveResident();

    // Nothing until a display mode was chosen.
    std::optional<DisplayMode> displayMode() const;
    // The first serial number and the ID of the row the form shows or that was inserted last; "keine" for a
    // new resident.
    const std::string& CurrentResidentSerial() const { return serial_; }
    const std::string& CurrentResidentId() const { return id_; }

    // Runs after a save or a delete changed the residents (the status bar counts them anew).
    std::function<void()> residentsChanged;

  private:
    ResidentTable* table() const;
    void leaveForMode(DisplayMode mode);
    void markSaved();
    void refreshSaveButton();
    // "Bewohner löschen" works while the form shows a stored resident, for a level that may delete.
    void refreshDeleteButton();
    void showSearchResult();
    void chooseInList(std::optional<std::int64_t> id);
    // Chooses the row's entry in the list and shows the row, as a click on it does.
    void showRow(std::int64_t id);
    void chooseOption(DisplayMode mode);
    void chooseDisplayMode(DisplayMode mode);
    // Checks the option of the mode; a change of mode fills the list anew.
    void selectDisplayMode(DisplayMode mode);
    void BuildStationTree();
    bool InsertResidentRow();
    bool UpdateResidentRow();
    void showWriteFailure();
    bool stationTabEnabled() const;

    Program& program_;
    ResidentPageForm& form_;
    std::string serial_ = kNoRow;
    std::string id_ = kNoRow;
    std::string savedState_;
    // The mode the list was filled in, and the row the last save wrote.
    DisplayMode listedMode_ = DisplayMode::Name;
    std::optional<std::int64_t> writtenId_;
    // The ID of the stored resident the form shows; nothing for an empty or a new form.
    std::optional<std::int64_t> shownId_;
    bool mayDelete_ = true;
    ResidentList list_;
    std::vector<std::pair<Control*, int>> subscriptions_;
    ResidentFormMapping mapping_{form_};
    DisplayLine displayLine_{program_, form_};
};

}  // namespace pnl
