#include "link/serial_link_claim.h"

#include "app/program.h"

namespace pnl {

SerialLinkClaim::SerialLinkClaim(Program& program, SerialLinkUse use) : program_(program) {
    program_.serialLinkBusy = true;
    program_.serialLinkUser =
        use == SerialLinkUse::PortTest ? "einen Schnittstellentest" : "eine Datenübertragung";
}

SerialLinkClaim::~SerialLinkClaim() {
    program_.serialLinkBusy = false;
    program_.serialLinkUser.clear();
}

bool SerialLinkInUse(const Program& program) {
    return program.serialLinkBusy || program.pause.busy();
}

std::string LinkBusyMessage(const Program& program) {
    const std::string holder = program.serialLinkUser.empty()
                                   ? "eine Datenübertragung oder einen Schnittstellentest"
                                   : program.serialLinkUser;
    return "Die serielle Schnittstelle wird gerade für " + holder + " genutzt. Kein Test möglich!";
}

}  // namespace pnl
