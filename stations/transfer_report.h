#pragma once
// The words of a transfer run: the one status line while it runs ("PNL 2 von 3: Nebeneingang – Datensatz 12
// von 20 – noch ca. 1:10") and the summary of every chosen station at its end. The dialog and the headless
// run show the same texts.

#include <chrono>
#include <string>

#include "stations/station_link.h"

namespace pnl {

struct TransferResult;

// "1:10" (whole seconds, rounded up).
std::string minutesAndSeconds(std::chrono::milliseconds time);

std::string statusLine(const RunStatus& status);

// "mit 20 Bewohnern übertragen in 0:31", "antwortet nicht", ... for a station of the run.
std::string outcomeText(StationOutcome outcome, int records, std::chrono::milliseconds took);

// One line per chosen station ("PNL01 Nebeneingang: …") and a last line with the count of stations sent.
std::string transferSummary(const TransferResult& result);

}  // namespace pnl
