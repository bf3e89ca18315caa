#include "app/clock_alarm.h"

#include <gtest/gtest.h>

#include "support/virtual_event_loop.h"

namespace pnl {
namespace {

TEST(ClockAlarm, PatternsMatchDigitByDigit) {
    EXPECT_TRUE(matchesTimePattern("??:??:?0", DateTime{2026, 1, 1, 9, 30, 0}));
    EXPECT_TRUE(matchesTimePattern("??:??:?0", DateTime{2026, 1, 1, 23, 59, 50}));
    EXPECT_FALSE(matchesTimePattern("??:??:?0", DateTime{2026, 1, 1, 9, 30, 5}));
    EXPECT_TRUE(matchesTimePattern("07:0?:00", DateTime{2026, 1, 1, 7, 5, 0}));
    EXPECT_FALSE(matchesTimePattern("07:0?:00", DateTime{2026, 1, 1, 17, 5, 0}));
}

TEST(ClockAlarm, FiresOnceEveryTenSecondsWithItsNumber) {
    test::VirtualEventLoop loop(DateTime{2026, 12, 6, 9, 30, 3});
    ClockAlarm alarm(loop);
    std::vector<std::pair<std::int64_t, int>> fired;
    alarm.setHandler([&](int number) { fired.emplace_back(loop.now(), number); });
    EXPECT_FALSE(alarm.addAlarm("??:??:?", 0));
    EXPECT_FALSE(alarm.addAlarm("12.34.?0", 0));
    ASSERT_TRUE(alarm.addAlarm("??:??:?0", 0));
    ASSERT_TRUE(alarm.addAlarm("??:31:00", 7));
    loop.advance(60000);
    // 09:30:10 ... 09:31:00 and, at 09:31:00, alarm 7 too; each second fires only once.
    ASSERT_EQ(fired.size(), 7u);
    EXPECT_EQ(fired[0], (std::pair<std::int64_t, int>{7000, 0}));
    EXPECT_EQ(fired[4].first, 47000);
    EXPECT_EQ(fired[5], (std::pair<std::int64_t, int>{57000, 0}));
    EXPECT_EQ(fired[6], (std::pair<std::int64_t, int>{57000, 7}));

    alarm.clear();
    loop.advance(60000);
    EXPECT_EQ(fired.size(), 7u);
    EXPECT_EQ(loop.pendingTimers(), 0);
}

}  // namespace
}  // namespace pnl
