#include "link/serial_link_claim.h"

#include "app/program.h"

namespace pnl {

SerialLinkClaim::SerialLinkClaim(Program& program) : program_(program) {
    program_.serialLinkBusy = true;
}

SerialLinkClaim::~SerialLinkClaim() {
    program_.serialLinkBusy = false;
}

bool SerialLinkInUse(const Program& program) {
    return program.serialLinkBusy || program.pause.busy();
}

}  // namespace pnl
