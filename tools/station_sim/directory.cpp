#include "tools/station_sim/directory.h"

#include <cstdio>
#include <set>

namespace pnl::sim {

namespace {

std::uint32_t bigEndian(const std::uint8_t* bytes, int count) {
    std::uint32_t value = 0;
    for (int i = 0; i < count; ++i)
        value = (value << 8) | bytes[i];
    return value;
}

std::string hexByte(std::uint8_t byte) {
    char text[8];
    std::snprintf(text, sizeof text, "%02X", byte);
    return text;
}

std::string hexBytes(const std::uint8_t* bytes, std::size_t count) {
    std::string text;
    for (std::size_t i = 0; i < count; ++i)
        text += (i ? " " : "") + hexByte(bytes[i]);
    return text;
}

// A zero-terminated text field: the text up to the first 0, every byte after it 0.
std::string textField(const std::uint8_t* bytes, std::size_t size, bool terminated, Firmware firmware,
                      const std::string& what, std::vector<std::string>* errors) {
    std::size_t length = 0;
    while (length < size && bytes[length] != 0)
        ++length;
    if (terminated && length == size)
        errors->push_back(what + " ohne abschließendes Nullbyte");
    for (std::size_t i = length; i < size; ++i) {
        if (bytes[i] != 0) {
            errors->push_back(what + ": nach dem Ende nicht alles 0 (" + hexBytes(bytes, size) + ")");
            break;
        }
    }
    std::vector<std::uint8_t> unknown;
    std::string text = textOf(bytes, length, firmware, &unknown);
    if (!unknown.empty()) {
        std::string list;
        for (auto byte : unknown)
            list += (list.empty() ? "" : " ") + hexByte(byte);
        errors->push_back(what + ": Bytes ohne Zeichen in Firmware " + firmwareName(firmware) + ": " + list);
    }
    return text;
}

DirectoryRecord readRecord(const Memory& memory, int number, Firmware firmware,
                           std::vector<std::string>* errors) {
    const std::uint8_t* bytes =
        memory.data() + kFirstRecordAddress + std::ptrdiff_t{kRecordSize} * (number - 1);
    const std::string where = "Datensatz " + std::to_string(number);
    DirectoryRecord record;
    record.number = number;
    record.name = textField(bytes, 32, true, firmware, where + " Name", errors);
    record.apartment = textField(bytes + 32, 6, false, firmware, where + " Wohnung", errors);
    record.serial1 = bigEndian(bytes + 38, 3);
    record.serial2 = bigEndian(bytes + 41, 3);
    record.prev = static_cast<int>(bigEndian(bytes + 44, 2));
    record.next = static_cast<int>(bigEndian(bytes + 46, 2));
    record.code = bigEndian(bytes + 48, 3);
    for (int i = 51; i < kRecordSize; ++i) {
        if (bytes[i] != 0) {
            errors->push_back(where + ": Bytes 51 bis 55 nicht 0 (" + hexBytes(bytes + 51, 5) + ")");
            break;
        }
    }
    return record;
}

void appendJsonString(std::string* out, const std::string& text) {
    *out += '"';
    for (unsigned char c : text) {
        if (c == '"' || c == '\\') {
            *out += '\\';
            *out += static_cast<char>(c);
        } else if (c < 0x20) {
            char escaped[8];
            std::snprintf(escaped, sizeof escaped, "\\u%04x", c);
            *out += escaped;
        } else {
            *out += static_cast<char>(c);  // UTF-8 passes through
        }
    }
    *out += '"';
}

}  // namespace

Directory decodeDirectory(std::uint32_t serial, Firmware firmware, const Memory& memory) {
    Directory directory;
    directory.serial = serial;
    directory.firmware = firmware;
    const std::uint8_t* header = memory.data() + kHeaderAddress;
    directory.count = header[2] | (header[3] << 8);
    if (header[0] != 1 || header[1] != 0 || header[4] != 1 || header[5] != 0 || header[6] != 0 ||
        header[7] != 0)
        directory.errors.push_back("Kopfblock ungültig: " + hexBytes(header, 8));
    if (directory.count > kMaxRecords) {
        directory.errors.push_back("Anzahl " + std::to_string(directory.count) + " über " +
                                   std::to_string(kMaxRecords));
        return directory;
    }
    std::set<int> visited;
    int number = 1;
    int previous = 0;
    for (int i = 1; i <= directory.count; ++i) {
        if (number < 1 || number > kMaxRecords) {
            directory.errors.push_back("Verweis auf Datensatz " + std::to_string(number) +
                                       " außerhalb des Speichers");
            break;
        }
        if (!visited.insert(number).second) {
            directory.errors.push_back("Verweise bilden einen Kreis bei Datensatz " + std::to_string(number));
            break;
        }
        DirectoryRecord record = readRecord(memory, number, firmware, &directory.errors);
        const std::string where = "Datensatz " + std::to_string(number);
        if (record.prev != previous)
            directory.errors.push_back(where + ": Vorgänger " + std::to_string(record.prev) + " statt " +
                                       std::to_string(previous));
        directory.records.push_back(record);
        if (i == directory.count) {
            if (record.next != number)
                directory.errors.push_back(where + " ist der letzte, verweist aber auf " +
                                           std::to_string(record.next) + " statt auf sich selbst");
            break;
        }
        if (record.next == number) {
            directory.errors.push_back(where + " beendet die Kette nach " + std::to_string(i) + " von " +
                                       std::to_string(directory.count) + " Datensätzen");
            break;
        }
        previous = number;
        number = record.next;
    }
    return directory;
}

std::string directoryText(const Directory& directory) {
    std::string text = "PNL " + std::to_string(directory.serial) + " (Firmware " +
                       firmwareName(directory.firmware) + "): " + std::to_string(directory.count) +
                       " Bewohner\n";
    for (const auto& r : directory.records) {
        char number[16];
        std::snprintf(number, sizeof number, "%5d ", r.number);
        text += number + r.name + "|" + r.apartment + "|" + std::to_string(r.serial1) + "|" +
                std::to_string(r.serial2) + "|" + std::to_string(r.code) + "  (" + std::to_string(r.prev) +
                " -> " + std::to_string(r.next) + ")\n";
    }
    for (const auto& error : directory.errors)
        text += "  Fehler: " + error + "\n";
    return text;
}

std::string directoriesJson(const std::vector<Directory>& directories) {
    std::string out = "[";
    for (std::size_t d = 0; d < directories.size(); ++d) {
        const Directory& directory = directories[d];
        out += d ? ",\n {" : "\n {";
        out += "\"serial\": " + std::to_string(directory.serial) + ", \"firmware\": ";
        appendJsonString(&out, firmwareName(directory.firmware));
        out += ", \"count\": " + std::to_string(directory.count) + ",\n  \"records\": [";
        for (std::size_t i = 0; i < directory.records.size(); ++i) {
            const auto& r = directory.records[i];
            out += i ? ",\n   {" : "\n   {";
            out += "\"name\": ";
            appendJsonString(&out, r.name);
            out += ", \"apartment\": ";
            appendJsonString(&out, r.apartment);
            out += ", \"serial1\": " + std::to_string(r.serial1) +
                   ", \"serial2\": " + std::to_string(r.serial2) + ", \"code\": " + std::to_string(r.code) +
                   ", \"prev\": " + std::to_string(r.prev) + ", \"next\": " + std::to_string(r.next) + "}";
        }
        out += directory.records.empty() ? "],\n  \"errors\": [" : "\n  ],\n  \"errors\": [";
        for (std::size_t i = 0; i < directory.errors.size(); ++i) {
            out += i ? ", " : "";
            appendJsonString(&out, directory.errors[i]);
        }
        out += "]}";
    }
    out += directories.empty() ? "]\n" : "\n]\n";
    return out;
}

}  // namespace pnl::sim
