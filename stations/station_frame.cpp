#include "stations/station_frame.h"

#include <utility>
#include <vector>

#include "app/program.h"
#include "app/text.h"
#include "forms/frm_com.h"
#include "stations/station_list.h"

namespace pnl {

namespace {

constexpr const char* kAllSlotsInUse =
    "Die maximal mögliche Anzahl von 63 PNL ist bereits erreicht!\n\rKein neuer Eintrag möglich!";
constexpr int kTypeWithoutOldFirmware = 3;  // PNL-K

bool hasLineBreak(const std::string& text) {
    return text.find_first_of("\r\n") != std::string::npos;
}

// The settings file keeps its encoding (the other program reads it as Windows-1252): a character it cannot
// carry is refused by field before anything is written.
std::string unstorableFailure(const Program& program, const FrmCOM& form) {
    std::vector<std::pair<std::string, const char*>> fields = {
        {trim(form.TxtPNLBez.text()), "Im Bezeichnungstext"}};
    if (form.TxtPNLModem.visible())
        fields.emplace_back(trim(form.TxtPNLModem.text()), "In der Rufnummer");
    for (const auto& [text, where] : fields)
        if (const auto character = program.InitX.firstUnstorable(text))
            return std::string(where) + " ist das Zeichen „" + *character +
                   "“ enthalten, das ANLAGE99.INI nicht speichern kann!";
    return {};
}

void refuse(Program& program, const std::string& message) {
    program.msgBox(message, MsgIcon::Exclamation);
}

// The first failing check of the frame, or nothing when it may be saved. A comma or a line break in a field
// would shift or split the stored value list, so the label and the telephone number refuse both.
const char* firstFailure(const FrmCOM& form) {
    const std::string label = trim(form.TxtPNLBez.text());
    if (form.CboPNLType.listIndex() < 0)
        return "Bitte wählen Sie eine Typenbezeichnung aus!";
    if (label.empty())
        return "Bitte geben Sie einen Bezeichnungstext ein!";
    if (label.find(',') != std::string::npos)
        return "Im Bezeichnungstext dürfen keine Kommas enthalten sein!";
    if (hasLineBreak(label))
        return "Im Bezeichnungstext dürfen keine Zeilenumbrüche enthalten sein!";
    const std::int64_t serial = leadingNumber(form.TxtPNLSnr.text());
    if (serial <= 0 || serial > kHighestSerialNumber)
        return "Bitte geben Sie eine Seriennummer im Bereich 0 bis 999999 ein!";
    if (form.TxtPNLModem.visible()) {
        const std::string phone = trim(form.TxtPNLModem.text());
        if (phone.empty())
            return "Bitte geben Sie eine gültige Rufnummer für die Telefonverbindung ein!";
        if (phone.find(',') != std::string::npos)
            return "In der Rufnummer dürfen keine Kommas enthalten sein!";
        if (hasLineBreak(phone))
            return "In der Rufnummer dürfen keine Zeilenumbrüche enthalten sein!";
    }
    return nullptr;
}

std::string stationValue(const FrmCOM& form) {
    std::string value =
        form.CboPNLType.text() + "," + trim(form.TxtPNLBez.text()) + "," + trim(form.TxtPNLSnr.text()) + ",";
    if (form.TxtPNLModem.visible())
        value += trim(form.TxtPNLModem.text());
    value += form.ChkPNL27.visible() && form.ChkPNL27.checked() ? ",TRUE" : ",FALSE";
    return value;
}

void clearFrame(FrmCOM& form) {
    form.CboPNLBez.setListIndex(-1);
    form.CboPNLType.setListIndex(-1);
    form.TxtPNLBez.setText("");
    form.TxtPNLSnr.clear();
    form.TxtPNLModem.setText("");
    form.ChkPNL27.setVisible(false);
    form.ChkPNL27.setChecked(false);
}

}  // namespace

void ShowStationList(Program& program, FrmCOM& form) {
    LoadStationList(program, form.CboPNLBez);
    clearFrame(form);
}

void NewStation(Program& program, FrmCOM& form) {
    if (LowestFreeSlot(program) >= kStationSlots) {
        refuse(program, kAllSlotsInUse);
        return;
    }
    clearFrame(form);
}

void SelectStation(Program& program, FrmCOM& form) {
    const int entry = form.CboPNLBez.listIndex();
    if (entry < 0)
        return;
    const StationRecord station = readStation(program, form.CboPNLBez.itemData(entry));
    if (!station.inUse())
        return;
    form.TxtPNLBez.setText(station.label);
    // A type text that is none of the four leaves the type list as it is.
    if (const int type = form.CboPNLType.findText(station.type); type >= 0) {
        form.CboPNLType.setListIndex(type);
        ApplyTypeRule(form);
    }
    // A serial number that the six-digit field cannot hold leaves the field empty.
    if (!form.TxtPNLSnr.setText(station.serial))
        form.TxtPNLSnr.clear();
    if (form.TxtPNLModem.visible())
        form.TxtPNLModem.setText(station.phone);
    form.ChkPNL27.setChecked(station.olderFirmware);
}

void SaveStation(Program& program, FrmCOM& form) {
    int slot = 0;
    const int entry = form.CboPNLBez.listIndex();
    if (entry < 0) {
        slot = LowestFreeSlot(program);
        if (slot >= kStationSlots) {
            refuse(program, kAllSlotsInUse);
            return;
        }
    } else {
        slot = form.CboPNLBez.itemData(entry);
    }
    if (const char* failure = firstFailure(form)) {
        refuse(program, failure);
        return;
    }
    if (const std::string failure = unstorableFailure(program, form); !failure.empty()) {
        refuse(program, failure);
        return;
    }
    if (!program.InitX.write(kStationSection, stationKey(slot), stationValue(form))) {
        program.msgBox("Die PNL konnte nicht gespeichert werden!", MsgIcon::Critical);
        return;
    }
    LoadStationList(program, form.CboPNLBez);
    form.CboPNLBez.setListIndex(form.CboPNLBez.findData(slot));
    SelectStation(program, form);
}

void DeleteStation(Program& program, FrmCOM& form) {
    const int entry = form.CboPNLBez.listIndex();
    if (entry < 0)
        return;
    if (!program.InitX.write(kStationSection, stationKey(form.CboPNLBez.itemData(entry)), "")) {
        program.msgBox("Die PNL konnte nicht gelöscht werden!", MsgIcon::Critical);
        return;
    }
    form.CboPNLBez.removeItem(entry);
    form.CboPNLBez.setListIndex(-1);
    form.CboPNLType.setListIndex(-1);
    form.TxtPNLBez.setText("");
    form.TxtPNLSnr.clear();
    form.ChkPNL27.setVisible(false);
}

void ApplyTypeRule(FrmCOM& form) {
    const int type = form.CboPNLType.listIndex();
    if (type < 0)
        return;
    form.ChkPNL27.setVisible(type != kTypeWithoutOldFirmware);
}

}  // namespace pnl
