#include "residents/display_line.h"

#include "app/program.h"
#include "forms/fr_bewo.h"
#include "residents/station_name.h"

namespace pnl {

DisplayLine::DisplayLine(Program& program, FrBewoControls& form) : program_(program), form_(form) {
    nameHandle_ = form_.TxtBWName.subscribe([this] { update(); });
    firstNameHandle_ = form_.TxtBWVorn.subscribe([this] { update(); });
    treeHandle_ = form_.TrVwPNL.subscribe([this] {
        stations_.clear();
        update();
    });
}

DisplayLine::~DisplayLine() {
    form_.TxtBWName.unsubscribe(nameHandle_);
    form_.TxtBWVorn.unsubscribe(firstNameHandle_);
    form_.TrVwPNL.unsubscribe(treeHandle_);
}

void DisplayLine::update() {
    StationSet assigned;
    for (const auto& node : form_.TrVwPNL.nodes())
        if (node.checked)
            assigned.set(static_cast<std::size_t>(stationOfNodeKey(node.key)) % kStationCount);
    if (stations_.empty() && assigned.any()) {
        // Reading the records splits them into the program's field table, which the page may still use.
        const ValueFields fields = program_.FieldTable;
        stations_ = listedStations(program_);
        program_.FieldTable = fields;
    }
    const NameDisplay display =
        displayName(form_.TxtBWName.text(), form_.TxtBWVorn.text(), stations_, assigned);
    form_.LblBWAnzeigeText.setCaption(display.marked);
    form_.LblBWAnzeigeText.setTip(display.tip);
}

}  // namespace pnl
