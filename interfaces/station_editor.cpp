#include "interfaces/station_editor.h"

#include <utility>
#include <vector>

#include "app/program.h"
#include "app/text.h"
#include "forms/interface_window.h"
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
std::string unstorableFailure(const Program& program, const InterfaceWindowForm& form) {
    std::vector<std::pair<std::string, const char*>> fields = {
        {trim(form.stationLabel.text()), "Im Bezeichnungstext"}};
    if (form.phoneNumber.visible())
        fields.emplace_back(trim(form.phoneNumber.text()), "In der Rufnummer");
    for (const auto& [text, where] : fields)
        if (const auto character = program.settings.firstUnstorable(text))
            return std::string(where) + " ist das Zeichen „" + *character +
                   "“ enthalten, das ANLAGE99.INI nicht speichern kann!";
    return {};
}

void refuse(Program& program, const std::string& message) {
    program.msgBox(message, MsgIcon::Exclamation);
}

// The first failing check of the frame, or nothing when it may be saved. A comma or a line break in a field
// would shift or split the stored value list, so the label and the telephone number refuse both.
const char* firstFailure(const InterfaceWindowForm& form) {
    const std::string label = trim(form.stationLabel.text());
    if (form.stationType.listIndex() < 0)
        return "Bitte wählen Sie eine Typenbezeichnung aus!";
    if (label.empty())
        return "Bitte geben Sie einen Bezeichnungstext ein!";
    if (label.find(',') != std::string::npos)
        return "Im Bezeichnungstext dürfen keine Kommas enthalten sein!";
    if (hasLineBreak(label))
        return "Im Bezeichnungstext dürfen keine Zeilenumbrüche enthalten sein!";
    const std::int64_t serial = leadingNumber(form.stationSerial.text());
    if (serial <= 0 || serial > kHighestSerialNumber)
        return "Bitte geben Sie eine Seriennummer im Bereich 0 bis 999999 ein!";
    if (form.phoneNumber.visible()) {
        const std::string phone = trim(form.phoneNumber.text());
        if (phone.empty())
            return "Bitte geben Sie eine gültige Rufnummer für die Telefonverbindung ein!";
        if (phone.find(',') != std::string::npos)
            return "In der Rufnummer dürfen keine Kommas enthalten sein!";
        if (hasLineBreak(phone))
            return "In der Rufnummer dürfen keine Zeilenumbrüche enthalten sein!";
    }
    return nullptr;
}

// The telephone number only with a modem, the older firmware only where its check box shows.
StationRecord stationOfFrame(const InterfaceWindowForm& form, int slot) {
    StationRecord record;
    record.number = slot;
    record.type = form.stationType.text();
    record.label = trim(form.stationLabel.text());
    record.serial = trim(form.stationSerial.text());
    record.phone = form.phoneNumber.visible() ? trim(form.phoneNumber.text()) : std::string();
    record.olderFirmware = form.olderFirmware.visible() && form.olderFirmware.checked();
    return record;
}

void clearFrame(InterfaceWindowForm& form) {
    form.stationChoice.setListIndex(-1);
    form.stationType.setListIndex(-1);
    form.stationLabel.setText("");
    form.stationSerial.clear();
    form.phoneNumber.setText("");
    form.olderFirmware.setVisible(false);
    form.olderFirmware.setChecked(false);
}

}  // namespace

void ShowStationList(Program& program, InterfaceWindowForm& form) {
    LoadStationList(program, form.stationChoice);
    clearFrame(form);
}

void NewStation(Program& program, InterfaceWindowForm& form) {
    if (LowestFreeSlot(program) >= kStationSlots) {
        refuse(program, kAllSlotsInUse);
        return;
    }
    clearFrame(form);
}

void SelectStation(Program& program, InterfaceWindowForm& form) {
    const int entry = form.stationChoice.listIndex();
    if (entry < 0)
        return;
    const StationRecord station = readStation(program, form.stationChoice.itemData(entry));
    if (!station.inUse())
        return;
    form.stationLabel.setText(station.label);
    // A type text that is none of the four leaves the type list as it is.
    if (const int type = form.stationType.findText(station.type); type >= 0) {
        form.stationType.setListIndex(type);
        ApplyTypeRule(form);
    }
    // A serial number that the six-digit field cannot hold leaves the field empty.
    if (!form.stationSerial.setText(station.serial))
        form.stationSerial.clear();
    if (form.phoneNumber.visible())
        form.phoneNumber.setText(station.phone);
    form.olderFirmware.setChecked(station.olderFirmware);
}

void SaveStation(Program& program, InterfaceWindowForm& form) {
    int slot = 0;
    const int entry = form.stationChoice.listIndex();
    if (entry < 0) {
        slot = LowestFreeSlot(program);
        if (slot >= kStationSlots) {
            refuse(program, kAllSlotsInUse);
            return;
        }
    } else {
        slot = form.stationChoice.itemData(entry);
    }
    if (const char* failure = firstFailure(form)) {
        refuse(program, failure);
        return;
    }
    if (const std::string failure = unstorableFailure(program, form); !failure.empty()) {
        refuse(program, failure);
        return;
    }
    if (!program.settings.write(kStationSection, stationKey(slot),
                                formatStationRecord(stationOfFrame(form, slot)))) {
        program.msgBox("Die PNL konnte nicht gespeichert werden!", MsgIcon::Critical);
        return;
    }
    LoadStationList(program, form.stationChoice);
    form.stationChoice.setListIndex(form.stationChoice.findData(slot));
    SelectStation(program, form);
}

void DeleteStation(Program& program, InterfaceWindowForm& form) {
    const int entry = form.stationChoice.listIndex();
    if (entry < 0)
        return;
    if (!program.settings.write(kStationSection, stationKey(form.stationChoice.itemData(entry)), "")) {
        program.msgBox("Die PNL konnte nicht gelöscht werden!", MsgIcon::Critical);
        return;
    }
    form.stationChoice.removeItem(entry);
    form.stationChoice.setListIndex(-1);
    form.stationType.setListIndex(-1);
    form.stationLabel.setText("");
    form.stationSerial.clear();
    form.olderFirmware.setVisible(false);
}

void ApplyTypeRule(InterfaceWindowForm& form) {
    const int type = form.stationType.listIndex();
    if (type < 0)
        return;
    form.olderFirmware.setVisible(type != kTypeWithoutOldFirmware);
}

}  // namespace pnl
