#include "app/clock_alarm.h"

#include <cstdio>

namespace pnl {

namespace {

// The clock is looked at four times a second, so no second is missed even when a timer is late.
constexpr int kLookMs = 250;

std::string timeText(const DateTime& time) {
    char text[16];
    std::snprintf(text, sizeof text, "%02d:%02d:%02d", time.hour % 100, time.minute % 100, time.second % 100);
    return text;
}

bool validPattern(const std::string& pattern) {
    if (pattern.size() != 8)
        return false;
    for (std::size_t i = 0; i < pattern.size(); ++i) {
        const char c = pattern[i];
        if (i == 2 || i == 5) {
            if (c != ':')
                return false;
        } else if (c != '?' && (c < '0' || c > '9')) {
            return false;
        }
    }
    return true;
}

}  // namespace

bool matchesTimePattern(const std::string& pattern, const DateTime& time) {
    const std::string text = timeText(time);
    if (pattern.size() != text.size())
        return false;
    for (std::size_t i = 0; i < text.size(); ++i)
        if (pattern[i] != '?' && pattern[i] != text[i])
            return false;
    return true;
}

ClockAlarm::ClockAlarm(EventLoop& loop) : loop_(loop) {}

ClockAlarm::~ClockAlarm() {
    clear();
}

bool ClockAlarm::addAlarm(const std::string& pattern, int number) {
    if (!validPattern(pattern))
        return false;
    alarms_.push_back(Alarm{pattern, number});
    if (timer_ == 0)
        timer_ = loop_.startTimer(EventLoop::Milliseconds(kLookMs), true, [this] { tick(); });
    return true;
}

void ClockAlarm::clear() {
    alarms_.clear();
    if (timer_ != 0)
        loop_.stopTimer(timer_);
    timer_ = 0;
}

void ClockAlarm::tick() {
    const DateTime now = loop_.clock().now();
    // Collected first: a handler may add or clear alarms.
    std::vector<int> due;
    for (Alarm& alarm : alarms_) {
        if (!matchesTimePattern(alarm.pattern, now) || (alarm.fired && alarm.lastFired == now))
            continue;
        alarm.lastFired = now;
        alarm.fired = true;
        due.push_back(alarm.number);
    }
    for (int number : due)
        if (handler_)
            handler_(number);
}

}  // namespace pnl
