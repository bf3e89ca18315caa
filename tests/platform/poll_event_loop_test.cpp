#include "platform/poll_event_loop.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <chrono>
#include <string>
#include <vector>

namespace pnl {
namespace {

using std::chrono::milliseconds;

TEST(PollEventLoop, TimersAndDescriptorsAreServicedInOrderEvenInANestedPause) {
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

    // A readable descriptor is serviced during a pause inside a callback, as a transfer's pause runs inside
    // a click.
    int pipeFds[2];
    ASSERT_EQ(::pipe(pipeFds), 0);
    std::string received;
    int watch = 0;
    watch = loop.watchReadable(pipeFds[0], [&] {
        char c;
        if (::read(pipeFds[0], &c, 1) == 1)
            received += c;
        if (received == "ab")
            loop.unwatch(watch);
    });
    loop.startTimer(milliseconds(1), false, [&] {
        ASSERT_EQ(::write(pipeFds[1], "a", 1), 1);
        bool pauseOver = false;
        loop.startTimer(milliseconds(20), false, [&] { pauseOver = true; });
        loop.processEventsUntil([&] { return pauseOver; });
        EXPECT_EQ(received, "a");
        ASSERT_EQ(::write(pipeFds[1], "bc", 2), 2);
    });
    bool done = false;
    loop.startTimer(milliseconds(60), false, [&] { done = true; });
    loop.processEventsUntil([&] { return done; });
    EXPECT_EQ(received, "ab");  // unwatched after "ab": the "c" stays in the pipe
    ::close(pipeFds[0]);
    ::close(pipeFds[1]);
    // Nothing left that could end the wait: it returns instead of hanging.
    bool never = false;
    loop.processEventsUntil([&] { return never; });
}

}  // namespace
}  // namespace pnl
