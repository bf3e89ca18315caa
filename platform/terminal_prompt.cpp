#include "platform/terminal_prompt.h"

#include <termios.h>
#include <unistd.h>

#include <iostream>

namespace pnl {

namespace {

// Switches echo off for as long as it lives.
class EchoOff {
  public:
    EchoOff() {
        if (!isatty(STDIN_FILENO) || tcgetattr(STDIN_FILENO, &saved_) != 0)
            return;
        termios quiet = saved_;
        quiet.c_lflag &= ~static_cast<tcflag_t>(ECHO);
        quiet.c_lflag |= ECHONL;
        active_ = tcsetattr(STDIN_FILENO, TCSAFLUSH, &quiet) == 0;
    }
    ~EchoOff() {
        if (active_)
            tcsetattr(STDIN_FILENO, TCSAFLUSH, &saved_);
    }
    EchoOff(const EchoOff&) = delete;
    EchoOff& operator=(const EchoOff&) = delete;

  private:
    termios saved_{};
    bool active_ = false;
};

}  // namespace

std::optional<std::string> readHiddenLine(const std::string& prompt) {
    std::cerr << prompt << std::flush;
    std::string line;
    bool gotLine = false;
    {
        EchoOff quiet;
        gotLine = static_cast<bool>(std::getline(std::cin, line));
    }
    if (!gotLine) {
        std::cerr << "\n";
        return std::nullopt;
    }
    if (!line.empty() && line.back() == '\r')
        line.pop_back();
    return line;
}

}  // namespace pnl
