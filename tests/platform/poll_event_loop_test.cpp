#include "platform/poll_event_loop.h"

#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <vector>

namespace pnl {
namespace {

using std::chrono::milliseconds;

TEST(PollEventLoop, TimersFireInDueOrderAndRepeatUntilStopped) {
    PollEventLoop loop;
    std::vector<std::string> fired;
    loop.startTimer(milliseconds(30), false, [&] { fired.push_back("late"); });
    loop.startTimer(milliseconds(5), false, [&] { fired.push_back("early"); });
    loop.startTimer(milliseconds(5), false, [&] { fired.push_back("early, started second"); });
    int ticks = 0;
    int repeating = 0;
    repeating = loop.startTimer(milliseconds(2), true, [&] {
        if (++ticks == 3)
            loop.stopTimer(repeating);
    });
    const int stopped = loop.startTimer(milliseconds(1), false, [&] { fired.push_back("stopped"); });
    loop.stopTimer(stopped);

    loop.processEventsUntil([&] { return fired.size() == 3; });
    EXPECT_EQ(fired, (std::vector<std::string>{"early", "early, started second", "late"}));
    EXPECT_EQ(ticks, 3);

    // Nothing left that could end the wait: it returns instead of hanging.
    bool never = false;
    loop.processEventsUntil([&] { return never; });
}

}  // namespace
}  // namespace pnl
