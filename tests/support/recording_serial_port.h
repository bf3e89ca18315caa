#pragma once
// A serial port for tests on virtual time: records every setting and every byte sent (with the virtual
// instant), lets a test or a simulator answer, and can be told to fail. With a wire model (wireBaud) a chunk
// leaves the port 10 bits a byte after it was handed over, and output() first waits, blocking, until the
// chunk before has left, as the real port does; without one, bytes leave at once.

#include <functional>
#include <string>
#include <vector>

#include "platform/serial_port.h"
#include "support/virtual_event_loop.h"

namespace pnl::test {

class RecordingSerialPort : public SerialPort {
  public:
    explicit RecordingSerialPort(VirtualEventLoop& loop) : loop_(&loop) {}

    struct Sent {
        std::int64_t atMs;  // virtual time when the bytes were handed to the port
        std::string bytes;
        std::int64_t leftAtUs = 0;  // virtual time, in microseconds, when their last byte left the port
    };

    void setCommPort(int number) override {
        port = number;
        calls.push_back("port " + std::to_string(number));
    }
    int commPort() const override { return port; }
    bool setSettings(const std::string& text) override;
    void setDTREnable(bool on) override {
        dtr = on;
        calls.push_back(on ? "dtr on" : "dtr off");
    }
    void setRTSEnable(bool on) override {
        rts = on;
        calls.push_back(on ? "rts on" : "rts off");
    }
    void setHandshaking(int mode) override {
        handshake = mode;
        calls.push_back("handshake " + std::to_string(mode));
    }
    bool isOpen() const override { return open_; }
    bool open(std::string* error = nullptr) override;
    void close() override;
    bool output(const std::string& bytes) override;
    bool drain() override;
    bool carrierDetect() const override { return carrier; }
    void setReceiveHandler(ReceiveHandler handler) override { receive_ = std::move(handler); }

    // Delivers bytes to the program after delayMs of virtual time (only while the port is open).
    void deliver(const std::string& bytes, std::int64_t delayMs = 0);
    // Everything sent, concatenated.
    std::string allSent() const;

    int port = 0;
    std::string settings;
    bool dtr = false, rts = false;
    int handshake = 0;
    bool carrier = false;
    bool failOpen = false;           // open() fails (a missing or busy port)
    bool failOutput = false;         // output() fails
    int wireBaud = 0;                // the wire model's rate; 0: bytes leave at once
    std::vector<std::string> calls;  // "port 1", "settings 9600,N,8,1", "open", "close", ...
    std::vector<Sent> sent;
    // Called after each output with the bytes sent (a simulator answers from here).
    std::function<void(const std::string&)> onOutput;

  private:
    // Blocks until the bytes handed over so far have left the port.
    void waitUntilLeft();

    VirtualEventLoop* loop_;
    std::int64_t freeAtUs_ = 0;
    bool open_ = false;
    ReceiveHandler receive_;
};

}  // namespace pnl::test
