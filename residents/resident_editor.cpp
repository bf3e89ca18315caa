#include "residents/resident_editor.h"

#include <limits>

#include "app/event_log.h"
#include "app/program.h"
#include "app/resident_table.h"
#include "app/station_records.h"
#include "app/text.h"

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

// The editor keeps the row's ID and serial number as the texts it names them by ("keine" for none); a column
// without a number is an empty text.
std::string textOf(const std::optional<std::int64_t>& number) {
    return number ? std::to_string(*number) : std::string();
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

// "Müller, Anna (Wohnung A001)": how messages name a resident; empty parts are left out.
std::string residentLabel(const std::string& name, const std::string& firstName,
                          const std::string& apartment) {
    std::string label = name;
    if (!firstName.empty())
        label += (label.empty() ? "" : ", ") + firstName;
    if (!apartment.empty())
        label += (label.empty() ? "(Wohnung " : " (Wohnung ") + apartment + ")";
    return label;
}

// The line the serial-number question adds, naming whose record "Ja" would overwrite: the table's current
// row.
std::string serialOwnerLine(const ResidentTable& table) {
    const Resident resident = table.current();
    std::string owner = resident.name;
    if (!resident.firstName.empty())
        owner += (owner.empty() ? "" : ", ") + resident.firstName;
    if (const std::string apartment = trim(resident.apartment); !apartment.empty())
        owner += (owner.empty() ? "Wohnung " : ", Wohnung ") + apartment;
    return "\n\nDie Seriennummer gehört zu " + owner + ".";
}

}  // namespace

ResidentEditor::ResidentEditor(Program& program, ResidentPageForm& form) : program_(program), form_(form) {
    for (Control* field : std::initializer_list<Control*>{&form_.lastName, &form_.firstName, &form_.serial,
                                                          &form_.secondSerial, &form_.accessCode,
                                                          &form_.apartment, &form_.stationTree})
        subscriptions_.emplace_back(field, field->subscribe([this] { refreshSaveButton(); }));
    markSaved();
}

ResidentEditor::~ResidentEditor() {
    for (auto [field, handle] : subscriptions_)
        field->unsubscribe(handle);
}

std::string ResidentEditor::formState() const {
    std::string state;
    for (const std::string* text :
         {&form_.lastName.text(), &form_.firstName.text(), &form_.serial.text(), &form_.secondSerial.text(),
          &form_.accessCode.text(), &form_.apartment.text()})
        state += *text + '\x1f';
    for (const auto& node : form_.stationTree.nodes())
        state += node.key + (node.checked ? "+" : "-");
    return state;
}

void ResidentEditor::markSaved() {
    savedState_ = formState();
    refreshSaveButton();
}

void ResidentEditor::refreshSaveButton() {
    form_.saveResident.setEnabled(hasUnsavedChanges());
}

bool ResidentEditor::leaveResident() {
    if (!hasUnsavedChanges())
        return true;
    const std::string label =
        residentLabel(storedName(form_.lastName.text()), storedName(form_.firstName.text()),
                      cleanText(form_.apartment.text()));
    std::string text;
    if (serial_ == kNoRow)
        text = label.empty() ? "Soll der neue Bewohner gesichert werden?"
                             : "Soll der neue Bewohner " + label + " gesichert werden?";
    else
        text = "Sollen die Änderungen an Bewohner " + label + " gesichert werden?";
    switch (program_.ask({text, kSaveTitle, MsgIcon::Question, MsgButtons::YesNoCancel})) {
        case MsgAnswer::Yes:
            return SaveResident();
        case MsgAnswer::No:
            break;
        case MsgAnswer::Ok:
        case MsgAnswer::Cancel:
            return false;
    }
    // The changes are dropped: the form shows the resident as stored again.
    const auto id = idOf(id_);
    ResidentTable* t = table();
    if (serial_ != kNoRow && id && t && t->findId(*id))
        ShowResident();
    else
        ClearResidentForm();
    return true;
}

void ResidentEditor::leaveForMode(DisplayMode mode) {
    if (!leaveResident()) {
        chooseOption(listedMode_);
        return;
    }
    chooseDisplayMode(mode);
}

void ResidentEditor::residentChosen() {
    const int chosen = form_.residentChoice.listIndex();
    if (hasUnsavedChanges()) {
        const std::int32_t data = chosen >= 0 ? form_.residentChoice.itemData(chosen) : 0;
        // While the question is open the list names the resident still in the form.
        const auto shown = itemDataOf(id_);
        const bool showsResident = serial_ != kNoRow && shown;
        form_.residentChoice.setListIndex(showsResident ? form_.residentChoice.findData(*shown) : -1);
        if (!leaveResident() || chosen < 0)
            return;
        form_.residentChoice.setListIndex(form_.residentChoice.findData(data));
    }
    SelectResident();
}

void ResidentEditor::save() {
    if (form_.saveResident.enabled())
        SaveResident();
}

void ResidentEditor::showRow(std::int64_t id) {
    const int index = form_.residentChoice.findData(static_cast<std::int32_t>(id));
    if (index >= 0) {
        form_.residentChoice.setListIndex(index);
        SelectResident();
    } else if (ResidentTable* t = table(); t && t->findId(id)) {
        ShowResident();
    }
}

ResidentTable* ResidentEditor::table() const {
    return program_.residents();
}

std::optional<ResidentEditor::DisplayMode> ResidentEditor::displayMode() const {
    if (form_.byName.checked())
        return DisplayMode::Name;
    if (form_.bySerial.checked())
        return DisplayMode::Serial;
    if (form_.byApartment.checked())
        return DisplayMode::Apartment;
    return std::nullopt;
}

void ResidentEditor::chooseOption(DisplayMode mode) {
    OptionButton& option = mode == DisplayMode::Name     ? form_.byName
                           : mode == DisplayMode::Serial ? form_.bySerial
                                                         : form_.byApartment;
    option.setChecked(true);
}

void ResidentEditor::chooseDisplayMode(DisplayMode mode) {
    chooseOption(mode);
    FillResidentList();
}

void ResidentEditor::selectDisplayMode(DisplayMode mode) {
    if (displayMode() == mode)
        return;
    chooseDisplayMode(mode);
}

bool ResidentEditor::stationTabEnabled() const {
    return form_.residentTabs.tabs().at(ResidentPageForm::kTabPlace).enabled;
}

void ResidentEditor::newResident() {
    if (!form_.newResident.enabled() || !leaveResident())
        return;
    ClearResidentForm();
    serial_ = kNoRow;
}

void ResidentEditor::deleteResident() {
    if (!form_.deleteResident.enabled())
        return;
    DeleteResident();
}

void ResidentEditor::selectAllStations() {
    if (stationTabEnabled() && form_.selectAllStations.enabled())
        form_.stationTree.setAllChecked(true);
}

void ResidentEditor::selectNoStations() {
    if (stationTabEnabled() && form_.selectNoStations.enabled())
        form_.stationTree.setAllChecked(false);
}

void ResidentEditor::OpenResidentView() {
    ClearResidentForm();
    form_.residentChoice.clear();
    selectDisplayMode(DisplayMode::Serial);
    selectDisplayMode(DisplayMode::Name);
    serial_ = kNoRow;
    id_ = kNoRow;
    BuildStationTree();
    markSaved();
}

void ResidentEditor::ClearResidentForm() {
    form_.secondSerial.clear();
    form_.residentChoice.setListIndex(-1);
    form_.apartment.clear();
    storedApartment_.clear();
    shownApartment_.clear();
    form_.serial.clear();
    form_.lastName.setText("");
    form_.firstName.setText("");
    form_.accessCode.clear();
    form_.residentTabs.setTab(ResidentPageForm::kTabResident);
    form_.stationTree.setAllChecked(false);
    // The cursor ends past the last row: a following update finds no current row by accident.
    if (ResidentTable* t = table()) {
        const int rows = t->count();
        if (rows > 0)
            t->moveFirst();
        for (int i = 0; i < rows; ++i)
            t->moveNext();
    }
    markSaved();
}

void ResidentEditor::FillResidentList() {
    std::vector<ComboBox::Item> items;
    ResidentTable* t = table();
    const auto mode = displayMode().value_or(DisplayMode::Name);
    listedMode_ = mode;
    if (t && t->count() > 0) {
        for (t->moveFirst(); !t->eof(); t->moveNext()) {
            const Resident resident = t->current();
            std::string text;
            if (mode == DisplayMode::Name) {
                if (!resident.name.empty())
                    text = resident.name + ", " + resident.firstName;
            } else if (mode == DisplayMode::Apartment) {
                text = resident.apartment;
            } else if (resident.serial) {
                text = listedSerial(*resident.serial);
            }
            if (text.empty())
                continue;
            if (const auto data = itemDataOf(textOf(resident.id)))
                items.push_back({std::move(text), *data});
        }
    }
    form_.residentChoice.setItems(std::move(items));
}

void ResidentEditor::SelectResident() {
    const std::string text = form_.residentChoice.text();
    ResidentTable* t = table();
    if (text.empty() || !t)
        return;
    const std::int64_t id = form_.residentChoice.itemData(form_.residentChoice.listIndex());
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
        form_.residentTabs.setTab(ResidentPageForm::kTabResident);
        ShowResident();
    } else {
        ClearResidentForm();
    }
}

void ResidentEditor::ShowResident() {
    ResidentTable* t = table();
    if (!t)
        return;
    const Resident resident = t->current();
    showNumber(form_.serial, resident.serial.value_or(0));
    showNumber(form_.secondSerial, resident.secondSerial);
    serial_ = textOf(resident.serial);
    id_ = textOf(resident.id);
    form_.lastName.setText(resident.name);
    form_.firstName.setText(resident.firstName);
    showNumber(form_.accessCode, resident.code);
    storedApartment_ = resident.apartment;
    showApartment(form_.apartment, storedApartment_);
    shownApartment_ = form_.apartment.text();
    ShowStationAssignment(resident.stations);
    markSaved();
}

void ResidentEditor::BuildStationTree() {
    form_.stationTree.clear();
    for (const StationRecord& station : listedStations(program_))
        form_.stationTree.addNode(stationNodeKey(station.number), station.label);
}

void ResidentEditor::ShowStationAssignment(const StationSet& stations) {
    form_.stationTree.setAllChecked(false);
    if (stations.none())
        return;
    for (int i = 0; i < form_.stationTree.count(); ++i) {
        const int k = stationOfNodeKey(form_.stationTree.node(i).key);
        if (k >= 0 && k < kStationCount && stations.test(k))
            form_.stationTree.setChecked(i, true);
    }
}

StationSet ResidentEditor::StoreStationAssignment() const {
    StationSet stations;
    for (const auto& node : form_.stationTree.nodes()) {
        const int k = stationOfNodeKey(node.key);
        if (node.checked && k >= 0 && k < kStationCount)
            stations.set(k);
    }
    return stations;
}

Resident ResidentEditor::StoreResidentFields() const {
    Resident resident;
    resident.serial = leadingNumber(form_.serial.text());
    // The save has put "0" into a field without a valid second serial number.
    resident.secondSerial = leadingNumber(form_.secondSerial.text());
    resident.name = storedName(form_.lastName.text());
    resident.firstName = storedName(form_.firstName.text());
    const std::string code = trim(form_.accessCode.text());
    resident.code = code.empty() ? 0 : leadingNumber(code);
    const bool apartmentEdited = form_.apartment.text() != shownApartment_;
    resident.apartment = apartmentEdited ? cleanText(form_.apartment.text()) : storedApartment_;
    resident.stations = StoreStationAssignment();
    return resident;
}

bool ResidentEditor::InsertResidentRow() {
    ResidentTable* t = table();
    if (!t)
        return false;
    const auto inserted = t->insert(StoreResidentFields());
    if (!inserted.written)
        return false;
    // An insert makes the new row the editor's row, so a second save updates it instead of inserting again.
    serial_ = form_.serial.text();
    id_ = inserted.id ? std::to_string(*inserted.id) : kNoRow;
    writtenId_ = inserted.id;
    return true;
}

bool ResidentEditor::UpdateResidentRow() {
    ResidentTable* t = table();
    if (!t)
        return false;
    writtenId_ = idOf(textOf(t->current().id));
    return t->update(StoreResidentFields());
}

void ResidentEditor::showWriteFailure() {
    program_.msgBox("Der Bewohnerdatensatz konnte nicht gespeichert werden!", MsgIcon::Critical);
}

bool ResidentEditor::SaveResident() {
    auto refuse = [this](const char* text) {
        program_.msgBox(text, MsgIcon::Information);
        return false;
    };
    if (storedName(form_.lastName.text()).empty())
        return refuse("Sie müssen einen Namen eingeben!");
    if (trim(form_.apartment.text()).empty())
        return refuse("Sie müssen eine Wohnungsnummer eingeben!");
    if (!hasDigit(form_.serial.text()))
        return refuse("Sie müssen eine Seriennummer im Bereich 1 - 999.999 eingeben!");
    const std::int64_t serial = leadingNumber(form_.serial.text());
    if (serial < 1 || serial > kMaxSerial)
        return refuse("Sie müssen einen Seriennummer im Bereich 1 - 999.999 eingeben!");
    const std::int64_t second = leadingNumber(form_.secondSerial.text());
    if (form_.secondSerial.empty() || second < 1 || second > kMaxSerial)
        form_.secondSerial.setText("0");

    EventLog(program_, "Bewohnerdatensatz: " + form_.apartment.text() + " wurde geaendert.");

    ResidentTable* t = table();
    if (!t)
        return false;
    enum class Outcome { Written, Failed, Cancelled, Unchanged } outcome = Outcome::Unchanged;
    auto write = [&outcome](bool written) { outcome = written ? Outcome::Written : Outcome::Failed; };
    writtenId_.reset();
    if (serial_ != kNoRow) {
        // The serial numbers compare by value: "004711" typed over the shown 4711 is the same number.
        const bool sameSerial = !serial_.empty() && leadingNumber(serial_) == serial;
        const auto id = idOf(id_);
        if (sameSerial && id_ != kNoRow) {
            // The shown resident with its own serial number; the row may be gone meanwhile: then the form
            // becomes a new row.
            write(id && t->findId(*id) ? UpdateResidentRow() : InsertResidentRow());
        } else if (!sameSerial) {
            // A new serial number: written unless another resident has it and the user does not overwrite.
            if (!t->findSerial(serial)) {
                write(id && t->findId(*id) ? UpdateResidentRow() : InsertResidentRow());
            } else if (program_.ask({std::string(kDuplicateSerial) +
                                         "\n\rVorhanden Datensatz überschreiben ?" + serialOwnerLine(*t),
                                     kSaveTitle, MsgIcon::None, MsgButtons::OkCancel, MsgAnswer::Cancel}) ==
                       MsgAnswer::Ok) {
                write(UpdateResidentRow());
            } else {
                outcome = Outcome::Cancelled;
            }
        }
        // Otherwise an insert whose ID could not be read, saved again unchanged: nothing is written.
    } else if (!t->findSerial(serial)) {
        write(InsertResidentRow());
    } else {
        // "Abbrechen" (also Escape and the close box) saves nothing: only the buttons make a second row.
        const MsgAnswer answer =
            program_.ask({std::string(kDuplicateSerial) +
                              "\r\nVorhanden Datensatz überschreiben (Ja), oder neuen\r\n"
                              "Datensatz anlegen (Nein)?" +
                              serialOwnerLine(*t),
                          kSaveTitle, MsgIcon::None, MsgButtons::YesNoCancel, MsgAnswer::Cancel});
        if (answer == MsgAnswer::Yes)
            write(UpdateResidentRow());
        else if (answer == MsgAnswer::No)
            write(InsertResidentRow());
        else
            outcome = Outcome::Cancelled;
    }
    if (outcome == Outcome::Cancelled)
        return false;
    if (outcome == Outcome::Failed) {
        showWriteFailure();
        FillResidentList();
        return false;
    }
    const std::string name = storedName(form_.lastName.text());
    const std::string firstName = storedName(form_.firstName.text());
    FillResidentList();
    // The saved resident stays chosen: the list and the form show the row as it was written.
    if (writtenId_)
        showRow(*writtenId_);
    else
        markSaved();
    program_.notify("Gespeichert: " + residentLabel(name, firstName, ""));
    return true;
}

void ResidentEditor::DeleteResident() {
    ResidentTable* t = table();
    const auto id = idOf(id_);
    if (!t || id_.empty() || id_ == kNoRow || !id || !t->findId(*id))
        return;
    const Resident resident = t->current();
    const std::string& name = resident.name;
    const std::string& firstName = resident.firstName;
    const Message question{"Bewohner " + residentLabel(name, firstName, resident.apartment) + " löschen?",
                           "Bewohner löschen", MsgIcon::Question, MsgButtons::YesNo, MsgAnswer::No};
    // The question services events: the shared cursor is placed again.
    if (program_.ask(question) != MsgAnswer::Yes || !t->findId(*id))
        return;
    if (!t->deleteCurrent()) {
        program_.msgBox("Der Bewohnerdatensatz konnte nicht gelöscht werden!", MsgIcon::Critical);
        return;
    }
    // Logged once the row is really gone.
    EventLog(program_, "Bewohnerdatensatz: " + form_.lastName.text() + " geloescht.");
    FillResidentList();
    ClearResidentForm();
    program_.notify("Gelöscht: " + residentLabel(name, firstName, ""));
}

}  // namespace pnl
