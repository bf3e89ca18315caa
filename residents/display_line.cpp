#include "residents/display_line.h"

#include "app/program.h"
#include "forms/resident_page.h"
#include "residents/station_name.h"

namespace pnl {

DisplayLine::DisplayLine(Program& program, ResidentPageForm& form) : program_(program), form_(form) {
    nameHandle_ = form_.lastName.subscribe([this] { update(); });
    firstNameHandle_ = form_.firstName.subscribe([this] { update(); });
    treeHandle_ = form_.stationTree.subscribe([this] {
        stations_.clear();
        update();
    });
}

DisplayLine::~DisplayLine() {
    form_.lastName.unsubscribe(nameHandle_);
    form_.firstName.unsubscribe(firstNameHandle_);
    form_.stationTree.unsubscribe(treeHandle_);
}

void DisplayLine::update() {
    StationSet assigned;
    for (const auto& node : form_.stationTree.nodes())
        if (node.checked)
            assigned.set(static_cast<std::size_t>(stationOfNodeKey(node.key)) % kStationCount);
    if (stations_.empty() && assigned.any())
        stations_ = listedStations(program_);
    const NameDisplay display =
        displayName(form_.lastName.text(), form_.firstName.text(), stations_, assigned);
    form_.displayText.setCaption(display.marked);
    form_.displayText.setTip(display.tip);
}

}  // namespace pnl
