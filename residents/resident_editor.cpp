#include "residents/resident_editor.h"

#include <limits>

#include "app/access_codes.h"
#include "app/event_log.h"
#include "app/program.h"
#include "app/resident_table.h"
#include "app/station_records.h"
#include "app/text.h"
#include "residents/resident_search.h"
#include "residents/save_plan.h"

namespace pnl {

namespace {

constexpr const char* kSaveTitle = "Datensatz sichern";

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

void ResidentEditor::markSaved() {
    savedState_ = mapping_.state();
    refreshSaveButton();
}

void ResidentEditor::refreshSaveButton() {
    form_.saveResident.setEnabled(hasUnsavedChanges());
}

void ResidentEditor::refreshDeleteButton() {
    form_.deleteResident.setEnabled(mayDelete_ && shownId_.has_value());
}

void ResidentEditor::chooseInList(std::optional<std::int64_t> id) {
    shownId_ = id;
    form_.residentList.setChosen(id);
    refreshDeleteButton();
}

void ResidentEditor::showSearchResult() {
    std::vector<int> shown = list_.matching(form_.listSearch.text());
    form_.listCount.setCaption(
        residentCountText(static_cast<int>(shown.size()), static_cast<int>(list_.byName().size())));
    form_.residentList.setShown(std::move(shown));
}

void ResidentEditor::listSearchChanged() {
    showSearchResult();
}

void ResidentEditor::residentPicked() {
    const std::optional<std::int64_t> picked = form_.residentList.chosen();
    if (!picked || picked == shownId_)
        return;
    if (hasUnsavedChanges()) {
        // While the question is open the list names the resident still in the form.
        form_.residentList.setChosen(shownId_);
        if (!leaveResident())
            return;
    }
    ResidentTable* t = table();
    if (!t || !t->findId(*picked)) {
        // Deleted by another program meanwhile.
        FillResidentList();
        ClearResidentForm();
        return;
    }
    form_.residentTabs.setTab(ResidentPageForm::kTabResident);
    ShowResident();
    // The drop-down names the same resident where it lists it.
    const auto entry = itemDataOf(std::to_string(*picked));
    form_.residentChoice.setListIndex(entry ? form_.residentChoice.findData(*entry) : -1);
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
    mayDelete_ = !MayOnlyEditResidentData(program_);
    form_.listSearch.setText("");
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
    form_.residentChoice.setListIndex(-1);
    chooseInList(std::nullopt);
    mapping_.clear();
    form_.residentTabs.setTab(ResidentPageForm::kTabResident);
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
    const auto mode = displayMode().value_or(DisplayMode::Name);
    listedMode_ = mode;
    if (list_.read(program_))
        form_.residentList.setRows(list_.rows());
    std::vector<ComboBox::Item> items;
    const auto add = [&items](const Resident& resident, std::string text) {
        if (text.empty())
            return;
        if (const auto data = itemDataOf(textOf(resident.id)))
            items.push_back({std::move(text), *data});
    };
    if (mode == DisplayMode::Name) {
        // In the order of the list beside the form, which is the drop-down's order: sorted once for both.
        for (const std::size_t i : list_.byName())
            if (const Resident& resident = list_.inTableOrder()[i]; !resident.name.empty())
                add(resident, resident.name + ", " + resident.firstName);
        form_.residentChoice.setItems(std::move(items), true);
    } else {
        for (const Resident& resident : list_.inTableOrder())
            add(resident, mode == DisplayMode::Apartment ? resident.apartment
                          : resident.serial              ? listedSerial(*resident.serial)
                                                         : std::string());
        form_.residentChoice.setItems(std::move(items));
    }
    showSearchResult();
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
    serial_ = textOf(resident.serial);
    id_ = textOf(resident.id);
    chooseInList(resident.id);
    mapping_.show(resident);
    markSaved();
}

void ResidentEditor::BuildStationTree() {
    form_.stationTree.clear();
    for (const StationRecord& station : listedStations(program_))
        form_.stationTree.addNode(stationNodeKey(station.number), station.label);
}

bool ResidentEditor::InsertResidentRow() {
    ResidentTable* t = table();
    if (!t)
        return false;
    const auto inserted = t->insert(mapping_.read());
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
    return t->update(mapping_.read());
}

void ResidentEditor::showWriteFailure() {
    program_.msgBox("Der Bewohnerdatensatz konnte nicht gespeichert werden!", MsgIcon::Critical);
}

bool ResidentEditor::SaveResident() {
    const SaveInput input{form_.lastName.text(),
                          form_.apartment.text(),
                          form_.serial.text(),
                          form_.secondSerial.text(),
                          form_.secondSerial.empty(),
                          serial_,
                          id_};
    if (const std::string refusal = SaveRefusal(input); !refusal.empty()) {
        program_.msgBox(refusal, MsgIcon::Information);
        return false;
    }
    ResidentTable* t = table();
    const auto id = idOf(id_);
    const std::int64_t serial = savedSerial(input);
    SaveFacts facts;
    if (t) {
        facts.editorRowExists = id && t->findId(*id);
        if (t->findSerial(serial))
            facts.serialHolder = t->current();
    }
    const SavePlan plan = PlanSave(input, facts);
    if (plan.secondSerialZero)
        form_.secondSerial.setText("0");
    EventLog(program_, plan.logLine);
    if (!t)
        return false;

    SaveWrite write = plan.write;
    if (plan.question) {
        const MsgAnswer answer = program_.ask(*plan.question);
        if (answer == MsgAnswer::Cancel)
            return false;
        if (answer == MsgAnswer::No)
            write = plan.writeAfterNo;
    }
    enum class Outcome { Written, Failed, Unchanged } outcome = Outcome::Unchanged;
    auto done = [&outcome](bool written) { outcome = written ? Outcome::Written : Outcome::Failed; };
    writtenId_.reset();
    // The question services events: the row to update is found again.
    switch (write) {
        case SaveWrite::Nothing:
            break;
        case SaveWrite::Insert:
            done(InsertResidentRow());
            break;
        case SaveWrite::UpdateEditorRow:
            done(id && t->findId(*id) && UpdateResidentRow());
            break;
        case SaveWrite::UpdateSerialHolder:
            done(t->findSerial(serial) && UpdateResidentRow());
            break;
    }
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
    if (residentsChanged)
        residentsChanged();
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
    if (residentsChanged)
        residentsChanged();
}

}  // namespace pnl
