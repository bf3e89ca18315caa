#include "residents/resident_editor.h"

#include <limits>

#include "app/event_log.h"
#include "app/program.h"
#include "app/station_records.h"
#include "app/text.h"
#include "residents/resident_table.h"

namespace pnl {

namespace {

constexpr const char* kSaveTitle = "Datensatz sichern";
constexpr const char* kDuplicateSerial = "Es existiert bereits ein Datensatz mit dieser Seriennummer!";

// The list carries the ID as its 32-bit item data; an ID that does not fit cannot be listed.
std::optional<std::int32_t> itemDataOf(const std::string& id) {
    if (!allDigits(id) && !(id.size() > 1 && id[0] == '-' && allDigits(id.substr(1))))
        return std::nullopt;
    const std::int64_t value = leadingNumber(id);
    if (value < std::numeric_limits<std::int32_t>::min() || value > std::numeric_limits<std::int32_t>::max())
        return std::nullopt;
    return static_cast<std::int32_t>(value);
}

std::optional<std::int64_t> idOf(const std::string& id) {
    const auto data = itemDataOf(id);
    return data ? std::optional<std::int64_t>(*data) : std::nullopt;
}

// A number the field cannot hold (another program may store one) leaves the field blank rather than showing
// the previous resident's digits.
void showNumber(MaskedField& field, std::int64_t value) {
    if (value <= 0 || !field.setText(std::to_string(value)))
        field.clear();
}

// The apartment field holds letters and digits only: a stored value with other characters shows what fits.
void showApartment(MaskedField& field, const std::string& stored) {
    std::string fitting;
    for (char c : stored)
        if (field.fits(c) && static_cast<int>(fitting.size()) < field.positions())
            fitting += c;
    field.setText(fitting);
}

}  // namespace

ResidentTable* ResidentEditor::table() const {
    return program_.residents.get();
}

std::optional<ResidentEditor::DisplayMode> ResidentEditor::displayMode() const {
    if (form_.OptBWName.checked())
        return DisplayMode::Name;
    if (form_.OptBWSNR.checked())
        return DisplayMode::Serial;
    if (form_.OptBWWNr.checked())
        return DisplayMode::Apartment;
    return std::nullopt;
}

void ResidentEditor::chooseDisplayMode(DisplayMode mode) {
    OptionButton& option = mode == DisplayMode::Name     ? form_.OptBWName
                           : mode == DisplayMode::Serial ? form_.OptBWSNR
                                                         : form_.OptBWWNr;
    option.setChecked(true);
    FillResidentList();
}

void ResidentEditor::selectDisplayMode(DisplayMode mode) {
    if (displayMode() == mode)
        return;
    chooseDisplayMode(mode);
}

bool ResidentEditor::stationTabEnabled() const {
    return form_.SSTabBewo.tabs().at(FrBewoControls::kTabPlace).enabled;
}

void ResidentEditor::CmdBWNeu_Click() {
    if (!form_.CmdBWNeu.enabled())
        return;
    ClearResidentForm();
    serial_ = kNoRow;
}

void ResidentEditor::CmdBWDel_Click() {
    if (!form_.CmdBWDel.enabled())
        return;
    DeleteResident();
}

void ResidentEditor::CmdPNLALLSet_Click() {
    if (stationTabEnabled() && form_.CmdPNLALLSet.enabled())
        form_.TrVwPNL.setAllChecked(true);
}

void ResidentEditor::CmdPNLALLDel_Click() {
    if (stationTabEnabled() && form_.CmdPNLALLDel.enabled())
        form_.TrVwPNL.setAllChecked(false);
}

void ResidentEditor::OpenResidentView() {
    ClearResidentForm();
    form_.CboBewo.clear();
    selectDisplayMode(DisplayMode::Serial);
    selectDisplayMode(DisplayMode::Name);
    serial_ = kNoRow;
    id_ = kNoRow;
    BuildStationTree();
}

void ResidentEditor::ClearResidentForm() {
    form_.txtBwtSnr.clear();
    form_.CboBewo.setListIndex(-1);
    form_.TxtBWWNr.clear();
    storedApartment_.clear();
    shownApartment_.clear();
    form_.TxtBWSnr.clear();
    form_.TxtBWName.setText("");
    form_.TxtBWVorn.setText("");
    form_.TxtBWCode.clear();
    form_.SSTabBewo.setTab(FrBewoControls::kTabResident);
    form_.TrVwPNL.setAllChecked(false);
    // The cursor ends past the last row: a following update finds no current row by accident.
    if (ResidentTable* t = table()) {
        const int rows = t->count();
        if (rows > 0)
            t->moveFirst();
        for (int i = 0; i < rows; ++i)
            t->moveNext();
    }
}

void ResidentEditor::FillResidentList() {
    std::vector<ComboBox::Item> items;
    ResidentTable* t = table();
    const auto mode = displayMode().value_or(DisplayMode::Name);
    if (t && t->count() > 0) {
        for (t->moveFirst(); !t->eof(); t->moveNext()) {
            std::string text;
            if (mode == DisplayMode::Name) {
                const std::string name = t->value("Name");
                if (!name.empty())
                    text = name + ", " + t->value("Vorname");
            } else if (mode == DisplayMode::Apartment) {
                text = t->value("Wnr");
            } else if (const std::string serial = t->value("sernr"); !serial.empty()) {
                text = listedSerial(leadingNumber(serial));
            }
            if (text.empty())
                continue;
            if (const auto data = itemDataOf(t->value("ID")))
                items.push_back({std::move(text), *data});
        }
    }
    form_.CboBewo.setItems(std::move(items));
}

void ResidentEditor::SelectResident() {
    const std::string text = form_.CboBewo.text();
    ResidentTable* t = table();
    if (text.empty() || !t)
        return;
    const std::int64_t id = form_.CboBewo.itemData(form_.CboBewo.listIndex());
    bool found = false;
    switch (displayMode().value_or(DisplayMode::Name)) {
        case DisplayMode::Name:
            // The whole entry, not the text up to its first comma, so that a surname with a comma is found.
            found = t->findNameEntryAndId(text, id);
            break;
        case DisplayMode::Apartment:
            found = t->findApartmentAndId(text, id);
            break;
        case DisplayMode::Serial:
            found = t->findSerialAndId(leadingNumber(text), id);
            break;
    }
    if (found) {
        form_.SSTabBewo.setTab(FrBewoControls::kTabResident);
        ShowResident();
    } else {
        ClearResidentForm();
    }
}

void ResidentEditor::ShowResident() {
    ResidentTable* t = table();
    if (!t)
        return;
    const std::string serial = t->value("sernr");
    showNumber(form_.TxtBWSnr, serial.empty() ? 0 : leadingNumber(serial));
    showNumber(form_.txtBwtSnr, decodeSecondSerial(t->value("AUSLOESUNG")));
    serial_ = serial;
    id_ = t->value("ID");
    form_.TxtBWName.setText(t->value("Name"));
    form_.TxtBWVorn.setText(t->value("Vorname"));
    showNumber(form_.TxtBWCode, decodeCode(t->value("code")));
    storedApartment_ = t->value("Wnr");
    showApartment(form_.TxtBWWNr, storedApartment_);
    shownApartment_ = form_.TxtBWWNr.text();
    ShowStationAssignment(t->value("PNL"));
}

void ResidentEditor::BuildStationTree() {
    form_.TrVwPNL.clear();
    for (const StationRecord& station : listedStations(program_))
        form_.TrVwPNL.addNode(stationNodeKey(station.number), station.label);
}

void ResidentEditor::ShowStationAssignment(const std::string& stored) {
    form_.TrVwPNL.setAllChecked(false);
    const StationSet stations = decodeStations(stored);
    if (stations.none())
        return;
    for (int i = 0; i < form_.TrVwPNL.count(); ++i) {
        const int k = stationOfNodeKey(form_.TrVwPNL.node(i).key);
        if (k >= 0 && k < kStationCount && stations.test(k))
            form_.TrVwPNL.setChecked(i, true);
    }
}

std::string ResidentEditor::StoreStationAssignment() const {
    StationSet stations;
    for (const auto& node : form_.TrVwPNL.nodes()) {
        const int k = stationOfNodeKey(node.key);
        if (node.checked && k >= 0 && k < kStationCount)
            stations.set(k);
    }
    return encodeStations(stations);
}

ResidentRow ResidentEditor::StoreResidentFields() const {
    ResidentRow row;
    row.serial = leadingNumber(form_.TxtBWSnr.text());
    row.trigger = encodeSecondSerial(form_.txtBwtSnr.text());
    row.name = storedName(form_.TxtBWName.text());
    row.firstName = storedName(form_.TxtBWVorn.text());
    const std::string code = trim(form_.TxtBWCode.text());
    row.code = code.empty() ? 0 : leadingNumber(code);
    const bool apartmentEdited = form_.TxtBWWNr.text() != shownApartment_;
    row.apartment = apartmentEdited ? cleanText(form_.TxtBWWNr.text()) : storedApartment_;
    row.stations = StoreStationAssignment();
    return row;
}

bool ResidentEditor::InsertResidentRow() {
    ResidentTable* t = table();
    if (!t)
        return false;
    const auto inserted = t->insert(StoreResidentFields());
    if (!inserted.written)
        return false;
    // An insert makes the new row the editor's row, so a second save updates it instead of inserting again.
    serial_ = form_.TxtBWSnr.text();
    id_ = inserted.id ? std::to_string(*inserted.id) : kNoRow;
    return true;
}

bool ResidentEditor::UpdateResidentRow() {
    ResidentTable* t = table();
    return t && t->update(StoreResidentFields());
}

void ResidentEditor::showWriteFailure() {
    program_.msgBox("Der Bewohnerdatensatz konnte nicht gespeichert werden!", MsgIcon::Critical);
}

void ResidentEditor::SaveResident() {
    auto refuse = [this](const char* text) { program_.msgBox(text, MsgIcon::Information); };
    if (storedName(form_.TxtBWName.text()).empty())
        return refuse("Sie müssen einen Namen eingeben!");
    if (trim(form_.TxtBWWNr.text()).empty())
        return refuse("Sie müssen eine Wohnungsnummer eingeben!");
    if (!hasDigit(form_.TxtBWSnr.text()))
        return refuse("Sie müssen eine Seriennummer im Bereich 1 - 999.999 eingeben!");
    const std::int64_t serial = leadingNumber(form_.TxtBWSnr.text());
    if (serial < 1 || serial > kMaxSerial)
        return refuse("Sie müssen einen Seriennummer im Bereich 1 - 999.999 eingeben!");
    const std::int64_t second = leadingNumber(form_.txtBwtSnr.text());
    if (form_.txtBwtSnr.empty() || second < 1 || second > kMaxSerial)
        form_.txtBwtSnr.setText("0");

    EventLog(program_, "Bewohnerdatensatz: " + form_.TxtBWWNr.text() + " wurde geaendert.");

    ResidentTable* t = table();
    if (!t)
        return;
    bool written = true;
    if (serial_ != kNoRow) {
        // The serial numbers compare by value: "004711" typed over the shown 4711 is the same number.
        const bool sameSerial = !serial_.empty() && leadingNumber(serial_) == serial;
        const auto id = idOf(id_);
        if (sameSerial && id_ != kNoRow) {
            // A1; the row may be gone meanwhile: then the form becomes a new row.
            written = id && t->findId(*id) ? UpdateResidentRow() : InsertResidentRow();
        } else if (!sameSerial) {
            // A2
            if (!t->findSerial(serial)) {
                written = id && t->findId(*id) ? UpdateResidentRow() : InsertResidentRow();
            } else if (program_.msgBox(
                           std::string(kDuplicateSerial) + "\n\rVorhanden Datensatz überschreiben ?",
                           MsgIcon::None, MsgButtons::OkCancel, kSaveTitle) == MsgAnswer::Ok) {
                written = UpdateResidentRow();
            }
        }
        // A3: an insert whose ID could not be read, saved again unchanged: nothing is written.
    } else if (!t->findSerial(serial)) {
        written = InsertResidentRow();
    } else {
        const MsgAnswer answer =
            program_.msgBox(std::string(kDuplicateSerial) +
                                "\r\nVorhanden Datensatz überschreiben (Ja), oder neuen\r\n"
                                "Datensatz anlegen (Nein)?",
                            MsgIcon::None, MsgButtons::YesNo, kSaveTitle);
        written = answer == MsgAnswer::Yes ? UpdateResidentRow() : InsertResidentRow();
    }
    if (!written)
        showWriteFailure();
    FillResidentList();
}

void ResidentEditor::DeleteResident() {
    ResidentTable* t = table();
    const auto id = idOf(id_);
    if (!t || id_.empty() || id_ == kNoRow || !id || !t->findId(*id))
        return;
    if (!t->deleteCurrent()) {
        program_.msgBox("Der Bewohnerdatensatz konnte nicht gelöscht werden!", MsgIcon::Critical);
        return;
    }
    // Logged once the row is really gone.
    EventLog(program_, "Bewohnerdatensatz: " + form_.TxtBWName.text() + " geloescht.");
    FillResidentList();
    ClearResidentForm();
}

}  // namespace pnl
