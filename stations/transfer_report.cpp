#include "stations/transfer_report.h"

#include "app/station_records.h"
#include "app/text.h"
#include "stations/transfer_run.h"

namespace pnl {

std::string minutesAndSeconds(std::chrono::milliseconds time) {
    const auto seconds = (std::max<std::int64_t>(time.count(), 0) + 999) / 1000;
    return std::to_string(seconds / 60) + ":" + zeroPadded(seconds % 60, 2);
}

std::string statusLine(const RunStatus& s) {
    const std::string runLeft = "noch ca. " + minutesAndSeconds(s.runLeft);
    const std::string wait = "(noch " + std::to_string((s.waitLeft.count() + 999) / 1000) + " s)";
    switch (s.phase) {
        case RunStatus::Phase::Waiting:
            return "Warte auf die PNL " + wait + " – " + runLeft;
        case RunStatus::Phase::Closing:
            return "Übertragung beendet, warte " + wait;
        case RunStatus::Phase::Station:
            break;
    }
    return "PNL " + std::to_string(s.position) + " von " + std::to_string(s.stations) + ": " + s.label +
           " – Datensatz " + std::to_string(s.record) + " von " + std::to_string(s.records) + " – " + runLeft;
}

std::string outcomeText(StationOutcome outcome, int records, std::chrono::milliseconds took) {
    switch (outcome) {
        case StationOutcome::Sent:
            return "mit " + std::to_string(records) + (records == 1 ? " Bewohner" : " Bewohnern") +
                   " übertragen in " + minutesAndSeconds(took);
        case StationOutcome::NothingToSend:
            return "nichts zu senden (keine Bewohner zugeordnet)";
        case StationOutcome::Skipped:
            return "übersprungen (nicht mehr angelegt)";
        case StationOutcome::TooManyRecords:
            return "zu viele Bewohner, nichts gesendet";
        case StationOutcome::NoCarrier:
            return "keine Modemverbindung, nichts gesendet";
        case StationOutcome::LineFailed:
            return "Leitung gestört, die PNL ist unvollständig";
        case StationOutcome::NotPresent:
            return "antwortet nicht, nichts gesendet";
        case StationOutcome::NotSent:
            return "nicht gesendet nach \"Abbrechen\"";
        case StationOutcome::StateNotSaved:
            return "Stand nicht gespeichert, nichts gesendet";
        case StationOutcome::SentStateNotSaved:
            return "Stand nicht gespeichert (gilt als unvollständig), " +
                   outcomeText(StationOutcome::Sent, records, took);
    }
    return {};
}

std::string transferSummary(const TransferResult& result) {
    std::string text;
    int sent = 0;
    for (const TransferResult::Station& s : result.stations) {
        text +=
            stationKey(s.number) + " " + s.label + ": " + outcomeText(s.outcome, s.records, s.took) + "\n";
        sent += s.outcome == StationOutcome::Sent ? 1 : 0;
    }
    return text + std::to_string(sent) + " von " + std::to_string(result.stations.size()) +
           " PNL übertragen.";
}

}  // namespace pnl
