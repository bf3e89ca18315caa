#include "platform/csv_file.h"

#include <csv.h>

namespace pnl {
namespace {

struct Collector {
    std::vector<CsvRecord> records;
    CsvRecord current;
    std::size_t recordStart = 1;
};

void onField(void* data, std::size_t size, void* context) {
    auto* collector = static_cast<Collector*>(context);
    collector->current.fields.emplace_back(static_cast<const char*>(data), size);
}

void onRecord(int, void* context) {
    auto* collector = static_cast<Collector*>(context);
    collector->current.line = collector->recordStart;
    collector->records.push_back(std::move(collector->current));
    collector->current = CsvRecord{};
}

constexpr int kRowNotBegun = 0;  // libcsv's parser state between records

}  // namespace

std::optional<std::vector<CsvRecord>> readCsv(const std::string& text, char delimiter, std::string* error) {
    csv_parser parser;
    if (csv_init(&parser, CSV_STRICT | CSV_STRICT_FINI) != 0) {
        if (error)
            *error = "Kein Speicher für das Lesen der Datei.";
        return std::nullopt;
    }
    csv_set_delim(&parser, static_cast<unsigned char>(delimiter));
    Collector collector;
    // Fed line by line, so that every record knows the line it starts on.
    std::size_t line = 1;
    std::size_t at = 0;
    bool ok = true;
    while (ok && at < text.size()) {
        std::size_t end = text.find('\n', at);
        end = end == std::string::npos ? text.size() : end + 1;
        if (parser.pstate == kRowNotBegun)
            collector.recordStart = line;
        const std::size_t length = end - at;
        ok = csv_parse(&parser, text.data() + at, length, onField, onRecord, &collector) == length;
        at = end;
        if (ok)
            ++line;
    }
    if (ok)
        ok = csv_fini(&parser, onField, onRecord, &collector) == 0;
    if (!ok && error)
        *error = "Zeile " + std::to_string(line) +
                 ": Die Anführungszeichen eines Feldes sind nicht richtig gesetzt oder nicht geschlossen.";
    csv_free(&parser);
    if (!ok)
        return std::nullopt;
    return std::move(collector.records);
}

std::string csvLine(const std::vector<std::string>& fields, char delimiter) {
    std::string line;
    for (std::size_t i = 0; i < fields.size(); ++i) {
        if (i > 0)
            line += delimiter;
        const std::string& field = fields[i];
        const bool quote = field.find_first_of(std::string("\"\r\n") + delimiter) != std::string::npos ||
                           (!field.empty() && (field.front() == ' ' || field.back() == ' '));
        if (!quote) {
            line += field;
            continue;
        }
        std::string quoted(field.size() * 2 + 2, '\0');
        quoted.resize(csv_write(quoted.data(), quoted.size(), field.data(), field.size()));
        line += quoted;
    }
    return line + "\r\n";
}

}  // namespace pnl
