#include "tools/station_sim/frames.h"

namespace pnl::sim {

namespace {

int hexValue(char c) {
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;  // lower case included: the link sends upper-case digits only
}

bool readHex(const std::string& text, std::size_t from, std::size_t digits, std::uint32_t* value) {
    std::uint32_t v = 0;
    for (std::size_t i = from; i < from + digits; ++i) {
        const int d = hexValue(text[i]);
        if (d < 0)
            return false;
        v = v * 16 + static_cast<std::uint32_t>(d);
    }
    *value = v;
    return true;
}

bool refuse(std::string* reason, const std::string& why) {
    if (reason)
        *reason = why;
    return false;
}

}  // namespace

bool parseFrame(const std::string& body, Frame* frame, std::string* reason) {
    if (body.empty())
        return refuse(reason, "leerer Rahmen");
    std::uint32_t value = 0;
    switch (body[0]) {
        case '(':
            if (body.size() != 9)
                return refuse(reason,
                              "Auswahlrahmen mit " + std::to_string(body.size()) + " statt 9 Zeichen");
            if (!readHex(body, 1, 6, &value))
                return refuse(reason, "Seriennummer nicht in Hexziffern (A-F groß)");
            frame->kind = Frame::Kind::Select;
            frame->serial = value;
            frame->code = body.substr(7, 2);
            return true;
        case ')':
            if (body.size() != 21)
                return refuse(reason,
                              "Schreibrahmen mit " + std::to_string(body.size()) + " statt 21 Zeichen");
            if (!readHex(body, 1, 4, &value))
                return refuse(reason, "Adresse nicht in Hexziffern (A-F groß)");
            if (value > 0x10000 - 8)
                return refuse(reason, "Adresse über das Speicherende");
            frame->kind = Frame::Kind::Write;
            frame->address = static_cast<std::uint16_t>(value);
            for (std::size_t i = 0; i < 8; ++i) {
                if (!readHex(body, 5 + 2 * i, 2, &value))
                    return refuse(reason, "Daten nicht in Hexziffern (A-F groß)");
                frame->data[i] = static_cast<std::uint8_t>(value);
            }
            return true;
        case '*':
            if (body != "*0000")
                return refuse(reason, "Abfragerahmen ist nicht *0000");
            frame->kind = Frame::Kind::Query;
            return true;
        default:
            return refuse(reason, "unbekanntes Kommandozeichen");
    }
}

void FrameReader::feed(const std::string& bytes) {
    for (char c : bytes) {
        if (!inFrame_) {
            if (c == kSoh) {
                inFrame_ = true;
                body_.clear();
            } else if (onOutside) {
                onOutside(c);
            }
            continue;
        }
        if (c == kEot) {
            inFrame_ = false;
            Frame frame;
            std::string reason;
            if (parseFrame(body_, &frame, &reason)) {
                if (onFrame)
                    onFrame(frame);
            } else if (onMalformed) {
                onMalformed(Malformed{std::string(1, kSoh) + body_ + kEot, reason});
            }
        } else if (c == kSoh) {
            // A new frame starts before the old one ended.
            if (onMalformed)
                onMalformed(Malformed{std::string(1, kSoh) + body_, "Rahmen ohne Ende (EOT)"});
            body_.clear();
        } else if (body_.size() >= kMaxBody) {
            if (onMalformed)
                onMalformed(Malformed{std::string(1, kSoh) + body_, "Rahmen ohne Ende (EOT)"});
            inFrame_ = false;
            body_.clear();
        } else {
            body_ += c;
        }
    }
}

}  // namespace pnl::sim
