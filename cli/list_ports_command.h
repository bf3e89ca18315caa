#pragma once
// "pnl-setup --list-ports": the port slots with the device each stands for, then every serial device of the
// PC with its description and stable path, for scripts and support calls. Needs no installation folder.

#include <iosfwd>

namespace pnl {

class PortDiscovery;
class PortMap;

// Always succeeds: returns 0.
int RunListPortsCommand(const PortMap& map, PortDiscovery& discovery, std::ostream& out);

}  // namespace pnl
