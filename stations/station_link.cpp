#include "stations/station_link.h"

#include <cmath>

#include "app/program.h"
#include "app/text.h"
#include "forms/transfer_dialog.h"
#include "stations/resident_image.h"
#include "stations/station_list.h"
#include "stations/station_state.h"
#include "stations/transfer_line.h"

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

StationOutcome StationTransfer(Program& program, TransferDialogForm& form, const TransferLink& link,
                               int station, TransferProgress* progress, bool answeredBeforeSending) {
    const StationRecord record = readStation(program, station);
    if (!record.inUse())
        return StationOutcome::Skipped;
    const auto serialNumber = static_cast<std::uint32_t>(leadingNumber(record.serial));
    const Firmware firmware = record.olderFirmware ? Firmware::V27 : Firmware::V3;
    const int count = form.transferList.count();
    if (count == 0)
        return StationOutcome::NothingToSend;

    if (count > kMaxRecords) {
        program.msgBox("Der PNL " + stationName(record) + " sind " + std::to_string(count) +
                           " Bewohner zugeordnet, sie kann höchstens " + std::to_string(kMaxRecords) +
                           " speichern.\nZu dieser PNL wird nichts übertragen.",
                       MsgIcon::Exclamation);
        return StationOutcome::TooManyRecords;
    }

    ProgressBar& bar = form.progress;
    bar.setValue(0);
    bar.setVisible(true);
    if (progress)
        progress->stationStarted(station, record.label, count,
                                 timeBeforeRecords(link.modem) + transferTimeLeft(count, 0, link.modem));

    StationSender sender(program);
    auto endWith = [&](StationOutcome outcome) {
        bar.setVisible(false);
        if (outcome == StationOutcome::LineFailed && progress)
            progress->lineFailed("Die Übertragung zur PNL " + stationName(record) +
                                 " ist abgebrochen: die serielle Schnittstelle COM" +
                                 std::to_string(link.port) + " nimmt keine Daten an.");
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
    StationState state{false, program.loop.clock().now(), serialNumber, firmware, form.transferList.lines()};
    state.answeredBeforeSending = answeredBeforeSending;
    writeStationState(program, station, state);

    if (!sender.sendAndWait(SelectFrame(serialNumber, kSelectOpen), kPauseAfterOpen))
        return endWith(StationOutcome::LineFailed);

    for (int r = 1; r <= count; ++r) {
        const ImageFields fields = splitTransferLine(program, form.transferList.line(r - 1));
        const ResidentImageBytes image = ResidentImage(fields, r, count, firmware);
        for (int block = 0; block < kBlocksPerImage; ++block) {
            if (!sender.sendAndWait(WriteFrame(imageBlockAddress(r, block), imageBlock(image, block)),
                                    kPauseAfterBlock))
                return endWith(StationOutcome::LineFailed);
        }
        if (count >= 2)
            bar.setValue(static_cast<int>(std::lround((r - 1) * 100.0 / (count - 1))));
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
    writeStationState(program, station, state);
    return endWith(StationOutcome::Sent);
}

}  // namespace pnl
