#include "residents/resident_form_mapping.h"

#include "app/station_records.h"
#include "app/text.h"
#include "forms/resident_page.h"

namespace pnl {

namespace {

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

void ResidentFormMapping::show(const Resident& resident) {
    showNumber(form_.serial, resident.serial.value_or(0));
    showNumber(form_.secondSerial, resident.secondSerial);
    form_.lastName.setText(resident.name);
    form_.firstName.setText(resident.firstName);
    showNumber(form_.accessCode, resident.code);
    storedApartment_ = resident.apartment;
    showApartment(form_.apartment, storedApartment_);
    shownApartment_ = form_.apartment.text();
    showStations(resident.stations);
}

void ResidentFormMapping::clear() {
    form_.secondSerial.clear();
    form_.apartment.clear();
    storedApartment_.clear();
    shownApartment_.clear();
    form_.serial.clear();
    form_.lastName.setText("");
    form_.firstName.setText("");
    form_.accessCode.clear();
    form_.stationTree.setAllChecked(false);
}

Resident ResidentFormMapping::read() const {
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
    resident.stations = readStations();
    return resident;
}

std::string ResidentFormMapping::state() const {
    std::string state;
    for (const std::string* text :
         {&form_.lastName.text(), &form_.firstName.text(), &form_.serial.text(), &form_.secondSerial.text(),
          &form_.accessCode.text(), &form_.apartment.text()})
        state += *text + '\x1f';
    for (const auto& node : form_.stationTree.nodes())
        state += node.key + (node.checked ? "+" : "-");
    return state;
}

void ResidentFormMapping::showStations(const StationSet& stations) {
    form_.stationTree.setAllChecked(false);
    if (stations.none())
        return;
    for (int i = 0; i < form_.stationTree.count(); ++i) {
        const int k = stationOfNodeKey(form_.stationTree.node(i).key);
        if (k >= 0 && k < kStationCount && stations.test(k))
            form_.stationTree.setChecked(i, true);
    }
}

StationSet ResidentFormMapping::readStations() const {
    StationSet stations;
    for (const auto& node : form_.stationTree.nodes()) {
        const int k = stationOfNodeKey(node.key);
        if (node.checked && k >= 0 && k < kStationCount)
            stations.set(k);
    }
    return stations;
}

}  // namespace pnl
