#include "platform/termios_line.h"

#include "platform/failure_text.h"

#include <errno.h>
#include <sys/ioctl.h>
#include <termios.h>

#include <cstring>
#include <utility>

namespace pnl::termios_line {

namespace {

speed_t speedOf(int baud) {
    static const std::pair<int, speed_t> kSpeeds[] = {
        {50, B50},           {75, B75},           {110, B110},         {134, B134},
        {150, B150},         {200, B200},         {300, B300},         {600, B600},
        {1200, B1200},       {1800, B1800},       {2400, B2400},       {4800, B4800},
        {9600, B9600},       {19200, B19200},     {38400, B38400},     {57600, B57600},
        {115200, B115200},   {230400, B230400},   {460800, B460800},   {500000, B500000},
        {576000, B576000},   {921600, B921600},   {1000000, B1000000}, {1152000, B1152000},
        {1500000, B1500000}, {2000000, B2000000}, {2500000, B2500000}, {3000000, B3000000},
        {3500000, B3500000}, {4000000, B4000000},
    };
    for (const auto& [rate, speed] : kSpeeds) {
        if (rate == baud)
            return speed;
    }
    return B0;
}

tcflag_t dataBitsFlag(int bits) {
    switch (bits) {
        case 5:
            return CS5;
        case 6:
            return CS6;
        case 7:
            return CS7;
        default:
            return CS8;
    }
}

bool modemLine(int fd, int line, bool on) {
    if (::ioctl(fd, on ? TIOCMBIS : TIOCMBIC, &line) == 0)
        return true;
    // A pseudo-terminal has no modem lines.
    return errno == ENOTTY || errno == EINVAL;
}

}  // namespace

bool apply(int fd, const LineSettings& settings, int handshake, std::string* error) {
    const speed_t speed = speedOf(settings.baud);
    if (speed == B0) {
        if (error)
            *error = "Die Baudrate " + std::to_string(settings.baud) + " wird nicht unterstützt.";
        return false;
    }
    termios tio{};
    if (::tcgetattr(fd, &tio) != 0) {
        if (error)
            *error = std::string("Die Einstellungen sind nicht lesbar: ") + systemFailureText(errno);
        return false;
    }
    ::cfmakeraw(&tio);
    ::cfsetispeed(&tio, speed);
    ::cfsetospeed(&tio, speed);
    tio.c_cflag &= ~(CSIZE | PARENB | PARODD | CMSPAR | CSTOPB | CRTSCTS);
    // CLOCAL: a lost carrier must not hang up the port or signal the program; carrier is read on request.
    // HUPCL: DTR drops when the port is closed.
    tio.c_cflag |= CREAD | CLOCAL | HUPCL | dataBitsFlag(settings.dataBits);
    switch (settings.parity) {
        case 'E':
            tio.c_cflag |= PARENB;
            break;
        case 'O':
            tio.c_cflag |= PARENB | PARODD;
            break;
        case 'M':
            tio.c_cflag |= PARENB | CMSPAR | PARODD;
            break;
        case 'S':
            tio.c_cflag |= PARENB | CMSPAR;
            break;
        default:
            break;
    }
    if (settings.stopBits == 2)
        tio.c_cflag |= CSTOPB;
    tio.c_iflag &= ~(IXON | IXOFF | IXANY);
    if (handshake == 1 || handshake == 3)
        tio.c_iflag |= IXON | IXOFF;
    if (handshake == 2 || handshake == 3)
        tio.c_cflag |= CRTSCTS;
    // With O_NONBLOCK, VMIN 1 makes an empty read answer EAGAIN, so a read of 0 bytes means the line hung up.
    tio.c_cc[VMIN] = 1;
    tio.c_cc[VTIME] = 0;
    if (::tcsetattr(fd, TCSANOW, &tio) != 0) {
        if (error)
            *error = std::string("Die Einstellungen werden nicht angenommen: ") + systemFailureText(errno);
        return false;
    }
    return true;
}

bool setDtr(int fd, bool on) {
    return modemLine(fd, TIOCM_DTR, on);
}
bool setRts(int fd, bool on) {
    return modemLine(fd, TIOCM_RTS, on);
}

bool carrier(int fd) {
    int lines = 0;
    if (::ioctl(fd, TIOCMGET, &lines) != 0)
        return false;
    return (lines & TIOCM_CAR) != 0;
}

bool allSent(int fd) {
    int queued = 0;
    if (::ioctl(fd, TIOCOUTQ, &queued) == 0 && queued > 0)
        return false;
    // The driver's buffer is empty; a UART may still be shifting out its last bytes.
    unsigned int lsr = 0;
    if (::ioctl(fd, TIOCSERGETLSR, &lsr) == 0)
        return (lsr & TIOCSER_TEMT) != 0;
    return true;
}

}  // namespace pnl::termios_line
