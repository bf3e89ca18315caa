#pragma once
// The resident editor: the page FrBewo of the main window, where the user lists, shows, creates, changes and
// deletes residents and ticks the display stations each one is sent to. The handlers carry the names of the
// page's events; the user level's rights are set on the controls by the main window and only respected here.

#include <optional>
#include <string>

#include "forms/fr_bewo.h"
#include "residents/display_line.h"
#include "residents/resident_fields.h"

namespace pnl {

class Program;
class ResidentTable;
struct ResidentRow;

class ResidentEditor {
  public:
    enum class DisplayMode { Name, Serial, Apartment };

    ResidentEditor(Program& program, FrBewoControls& form) : program_(program), form_(form) {}

    // Events of the page.
    void OptBWName_Click() { chooseDisplayMode(DisplayMode::Name); }
    void OptBWSNR_Click() { chooseDisplayMode(DisplayMode::Serial); }
    void OptBWWNr_Click() { chooseDisplayMode(DisplayMode::Apartment); }
    void CboBewo_Click() { SelectResident(); }
    void CmdBWNeu_Click();
    void CmdBWSave_Click() { SaveResident(); }
    void CmdBWDel_Click();
    void CmdPNLALLSet_Click();
    void CmdPNLALLDel_Click();
    void TxtBWSnr_GotFocus() { form_.TxtBWSnr.setSelStart(0); }
    void txtBwtSnr_GotFocus() { form_.txtBwtSnr.setSelStart(0); }
    void TxtBWCode_GotFocus() { form_.TxtBWCode.setSelStart(0); }
    void TxtBWWNr_GotFocus() { form_.TxtBWWNr.setSelStart(0); }

    void OpenResidentView();
    void ClearResidentForm();
    void FillResidentList();
    void SelectResident();
    void ShowResident();
    void SaveResident();
    void DeleteResident();

    // Nothing until a display mode was chosen.
    std::optional<DisplayMode> displayMode() const;
    // The first serial number and the ID of the row the form shows or that was inserted last; "keine" for a
    // new resident.
    const std::string& CurrentResidentSerial() const { return serial_; }
    const std::string& CurrentResidentId() const { return id_; }

  private:
    ResidentTable* table() const;
    void chooseDisplayMode(DisplayMode mode);
    // Checks the option of the mode; a change of mode fills the list anew.
    void selectDisplayMode(DisplayMode mode);
    void BuildStationTree();
    void ShowStationAssignment(const std::string& stored);
    std::string StoreStationAssignment() const;
    ResidentRow StoreResidentFields() const;
    bool InsertResidentRow();
    bool UpdateResidentRow();
    void showWriteFailure();
    bool stationTabEnabled() const;

    Program& program_;
    FrBewoControls& form_;
    std::string serial_ = kNoRow;
    std::string id_ = kNoRow;
    // The apartment number as the table holds it and as the field shows it: another program may store one
    // that the mask cannot show, which a save without editing the field keeps unchanged.
    std::string storedApartment_;
    std::string shownApartment_;
    DisplayLine displayLine_{program_, form_};
};

}  // namespace pnl
