#pragma once
// The one serial line of the program: a port test and a transfer each claim it for their whole run.

namespace pnl {

class Program;

// Claims the serial line for a port test or a transfer while it lives; a second user finds
// program.serialLinkBusy set and is refused.
class SerialLinkClaim {
  public:
    explicit SerialLinkClaim(Program& program);
    ~SerialLinkClaim();
    SerialLinkClaim(const SerialLinkClaim&) = delete;
    SerialLinkClaim& operator=(const SerialLinkClaim&) = delete;

  private:
    Program& program_;
};

// True when a transfer or a port test holds the serial line or a pause is running.
bool SerialLinkInUse(const Program& program);

}  // namespace pnl
