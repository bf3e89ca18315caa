#pragma once
// Joins the program's RecordingSerialPort to a station simulator on virtual time, as a cable at 9600 baud
// would (10 bits a byte, about 1.04 ms):
// - each output of the program reaches the simulator when its last byte has crossed the line; a chunk waits
//   for the one before it, so bytes never overtake each other;
// - the simulator's answers (the query answer, the modem's "OK") come back through
// RecordingSerialPort::deliver
//   the same way; the port drops them when it is not open;
// - the modem's carrier drives RecordingSerialPort::carrier.
// The simulator must run on the same VirtualEventLoop. It replaces port.onOutput and the simulator's output
// and carrier handlers.
//
//   sim::SimulatorSetup setup;
//   setup.stations = {{123456, sim::Firmware::V3}};
//   sim::Simulator sim(inst.loop, setup);
//   test::attachSimulator(inst.serial, sim, inst.loop);
//   ... run the probe or the transfer ...
//   EXPECT_EQ(sim.directoryOf(123456)->records.size(), 3u);

#include "support/recording_serial_port.h"
#include "support/virtual_event_loop.h"
#include "tools/station_sim/simulator.h"

namespace pnl::test {

void attachSimulator(RecordingSerialPort& port, sim::Simulator& simulator, VirtualEventLoop& loop);

}  // namespace pnl::test
