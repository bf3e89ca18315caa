#include "stations/station_link.h"

#include "app/program.h"
#include "app/text.h"
#include "stations/resident_image.h"
#include "stations/station_list.h"
#include "stations/station_state.h"

namespace pnl {
namespace {

std::string stationName(const StationRecord& record) {
    return record.label + " (" + stationKey(record.number) + ")";
}

// One station transfer on the open port: sends and pauses, and ends the transfer on a port that stopped
// taking bytes.
class StationSender {
  public:
    explicit StationSender(Program& program) : program_(program) {}

    bool send(const std::string& bytes) {
        if (!lineOk_)
            return false;
        lineOk_ = program_.serial.output(bytes);
        return lineOk_;
    }
    bool sendAndWait(const std::string& bytes, int pauseMs) {
        if (!send(bytes))
            return false;
        program_.pause.TimerWait(pauseMs);
        return true;
    }
    bool modemCommand(const std::string& command, int pauseMs) {
        return sendAndWait(command + kModemLineEnd, pauseMs);
    }

  private:
    Program& program_;
    bool lineOk_ = true;
};

}  // namespace

bool failed(StationOutcome outcome) {
    return outcome != StationOutcome::Sent && outcome != StationOutcome::NothingToSend;
}

std::chrono::milliseconds transferTimeLeft(int records, int recordsDone, bool modem) {
    int ms =
        (records - recordsDone) * kBlocksPerImage * kPauseAfterBlock + kPauseAfterHeader + kPauseAfterClose;
    if (modem)
        ms += kPauseAfterHangUp;
    return std::chrono::milliseconds(ms);
}

namespace {

// What a station transfer takes before its first record: the modem call and the opening frame.
std::chrono::milliseconds timeBeforeRecords(bool modem) {
    return std::chrono::milliseconds(kPauseAfterOpen + (modem ? kPauseAfterModemInit + kPauseAfterDial : 0));
}

}  // namespace

std::chrono::milliseconds stationTransferTime(int records, bool modem) {
    if (records <= 0 || records > kMaxRecords)
        return std::chrono::milliseconds(0);
    return timeBeforeRecords(modem) + transferTimeLeft(records, 0, modem);
}

StationOutcome StationTransfer(Program& program, const StationDirectory& directory, const TransferLink& link,
                               int station, TransferProgress* progress, bool answeredBeforeSending) {
    const StationRecord record = readStation(program, station);
    if (!record.inUse())
        return StationOutcome::Skipped;
    const auto serialNumber = static_cast<std::uint32_t>(leadingNumber(record.serial));
    const Firmware firmware = record.olderFirmware ? Firmware::V27 : Firmware::V3;
    const int count = static_cast<int>(directory.size());
    if (count == 0)
        return StationOutcome::NothingToSend;

    if (count > kMaxRecords) {
        program.msgBox("Der PNL " + stationName(record) + " sind " + std::to_string(count) +
                           " Bewohner zugeordnet, sie kann höchstens " + std::to_string(kMaxRecords) +
                           " speichern.\nZu dieser PNL wird nichts übertragen.",
                       MsgIcon::Exclamation);
        return StationOutcome::TooManyRecords;
    }

    if (progress)
        progress->stationStarted(station, record.label, count,
                                 timeBeforeRecords(link.modem) + transferTimeLeft(count, 0, link.modem));

    StationSender sender(program);
    std::string stateProblem;
    auto endWith = [&](StationOutcome outcome) {
        if (!progress)
            return outcome;
        progress->sendingStopped(station);
        if (outcome == StationOutcome::LineFailed)
            progress->stationFailed("Die Übertragung zur PNL " + stationName(record) +
                                    " ist abgebrochen: die serielle Schnittstelle COM" +
                                    std::to_string(link.port) + " nimmt keine Daten an.");
        else if (outcome == StationOutcome::StateNotSaved)
            progress->stationFailed("Der Stand der PNL " + stationName(record) +
                                    " kann nicht gespeichert werden: " + stateProblem +
                                    "\nZu dieser PNL wird nichts übertragen.");
        else if (outcome == StationOutcome::SentStateNotSaved)
            progress->stationFailed(
                "Der Stand der PNL " + stationName(record) + " kann nicht gespeichert werden: " +
                stateProblem + "\nDie PNL hat alle Bewohner erhalten; ihr Stand gilt als unvollständig.");
        return outcome;
    };

    if (link.modem) {
        if (!sender.modemCommand(link.init, kPauseAfterModemInit) ||
            !sender.modemCommand(link.dialPrefix + " " + record.phone, kPauseAfterDial))
            return endWith(StationOutcome::LineFailed);
        if (!program.serial.carrierDetect()) {
            program.msgBox("Keine Modemverbindung!", MsgIcon::Exclamation, MsgButtons::Ok, "Modemfehler");
            return endWith(StationOutcome::NoCarrier);
        }
    }

    // From the first frame on the station no longer holds what it held: recorded incomplete until the last
    // frame has left.
    StationState state{false, program.loop.clock().now(), serialNumber, firmware, transferLines(directory)};
    state.answeredBeforeSending = answeredBeforeSending;
    if (!writeStationState(program, station, state, &stateProblem)) {
        // The call is up: it ends before the next station is dialled (a port that no longer takes bytes fails
        // that station in turn).
        if (link.modem)
            static_cast<void>(sender.modemCommand("ATH", kPauseAfterHangUp));
        return endWith(StationOutcome::StateNotSaved);
    }

    if (!sender.sendAndWait(SelectFrame(serialNumber, kSelectOpen), kPauseAfterOpen))
        return endWith(StationOutcome::LineFailed);

    for (int r = 1; r <= count; ++r) {
        const ResidentImageBytes image = ResidentImage(directory[r - 1], r, count, firmware);
        for (int block = 0; block < kBlocksPerImage; ++block) {
            if (!sender.sendAndWait(WriteFrame(imageBlockAddress(r, block), imageBlock(image, block)),
                                    kPauseAfterBlock))
                return endWith(StationOutcome::LineFailed);
        }
        if (progress)
            progress->recordWritten(station, r, count, transferTimeLeft(count, r, link.modem));
    }

    if (!sender.sendAndWait(WriteFrame(kHeaderAddress, HeaderBlock(count)), kPauseAfterHeader) ||
        !sender.sendAndWait(SelectFrame(serialNumber, kSelectClose), kPauseAfterClose))
        return endWith(StationOutcome::LineFailed);
    if (link.modem && !sender.modemCommand("ATH", kPauseAfterHangUp))
        return endWith(StationOutcome::LineFailed);
    // The last frame was only handed over: the station counts as sent once it has left the port.
    if (!program.serial.drain())
        return endWith(StationOutcome::LineFailed);
    state.complete = true;
    state.sentAt = program.loop.clock().now();
    if (!writeStationState(program, station, state, &stateProblem))
        return endWith(StationOutcome::SentStateNotSaved);
    return endWith(StationOutcome::Sent);
}

}  // namespace pnl
