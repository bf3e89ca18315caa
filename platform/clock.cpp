#include "platform/clock.h"

#include <time.h>

namespace pnl {

DateTime SystemClock::now() const {
    const time_t seconds = time(nullptr);
    struct tm local {};
    localtime_r(&seconds, &local);
    return DateTime{local.tm_year + 1900, local.tm_mon + 1, local.tm_mday,
                    local.tm_hour,        local.tm_min,     local.tm_sec};
}

}  // namespace pnl
