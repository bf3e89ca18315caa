#include "link/station_probe.h"

#include "app/program.h"
#include "link/station_frames.h"

namespace pnl {

std::string PortInUseMessage(Program& program, int port) {
    const std::string holder = program.ports.holder(port);
    return holder.empty() ? std::string(kPortInUseMessage)
                          : std::string(kPortInUseMessage) + "\n(" + holder + ")";
}

namespace {
constexpr std::size_t kAnswerLength = 19;
}

std::string QueryFrame() {
    return std::string(1, kFrameStart) + "*0000" + std::string(1, kFrameEnd);
}

bool IsValidAnswer(const std::string& received) {
    return received.size() == kAnswerLength && received[1] == '*';
}

std::string ProbeMessage(const std::string& serialText, bool found) {
    return "Die PNLXXX mit der Seriennr. " + serialText + "\n\r" +
           (found ? "wurde am ausgewählten Port gefunden!" : "wurde nicht am ausgewählten Port gefunden!");
}

ProbeReceiver::ProbeReceiver(Program& program) : program_(program) {
    program_.serial.setReceiveHandler([this](const std::string& bytes) {
        if (listening_)
            program_.receiveBuffer += bytes;
    });
}

ProbeReceiver::~ProbeReceiver() {
    program_.serial.setReceiveHandler({});
}

bool PreparePort(Program& program, int port, const std::string& settings, bool dtr, bool rts,
                 std::optional<int> handshake, std::string* openError) {
    SerialPort& serial = program.serial;
    serial.setCommPort(port);
    const bool settingsTaken = serial.setSettings(settings);
    serial.setDTREnable(dtr);
    serial.setRTSEnable(rts);
    if (handshake)
        serial.setHandshaking(*handshake);
    if (!settingsTaken) {
        if (openError)
            *openError = "ungültige Schnittstellenparameter " + settings;
        return false;
    }
    return serial.isOpen() || serial.open(openError);
}

bool ProbeWait(Program& program, ProbeReceiver& receiver, int milliseconds, const std::string& frame) {
    const bool ran = program.pause.TimerWait(milliseconds, [&] {
        program.receiveBuffer.clear();
        receiver.setListening(true);
        if (!frame.empty())
            program.serial.output(frame);
    });
    receiver.setListening(false);
    return ran;
}

bool ProbeStationOnLine(Program& program, std::uint32_t serialNumber,
                        const std::function<void(bool found)>& report) {
    ProbeReceiver receiver(program);
    program.serial.output(SelectFrame(serialNumber, kProbeOpenCode));
    // Whatever the station says to its select frame is dropped when the next pause starts.
    ProbeWait(program, receiver, kSelectPauseMs);
    const bool queried = ProbeWait(program, receiver, kQueryPauseMs, QueryFrame());
    const bool found = queried && IsValidAnswer(program.receiveBuffer);
    report(found);
    program.serial.output(SelectFrame(serialNumber, kProbeCloseCode));
    return found;
}

}  // namespace pnl
