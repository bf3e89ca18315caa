// The station state file (PNLnn_STAND.TXT): any bytes parse or are refused without harm, and a state that
// parses is written and read back as the same state.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "stations/station_state.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    const auto state = pnl::parseStationState(text);
    if (!state)
        return 0;
    const auto again = pnl::parseStationState(pnl::formatStationState(7, *state));
    if (!again || !(*again == *state))
        std::abort();
    return 0;
}
