#include "app/log_reader.h"

#include "app/event_log.h"
#include "app/program.h"
#include "platform/cipher.h"

namespace pnl {

namespace {

// How far from its own place a swapped or moved line's neighbours are looked for.
constexpr int kSearchWidth = 3;
// Beyond this many unplaced lines the file is not searched further (each search tries every line).
constexpr int kMaxSearches = 200;

struct Place {
    int number = 0;        // the line's number when it was written
    int predecessor = -1;  // index of the line it was written after; -1: the file's first line
};

class LogCheck {
  public:
    LogCheck(const std::string& content, const std::string& date)
        : lines_(splitLogLines(content)), date_(date), numbers_(lines_.size(), 0) {
        for (const auto& line : lines_)
            tags_.push_back(sealedTag(line));
    }

    std::vector<LogEntry> run() {
        std::vector<LogEntry> entries;
        int expected = 1;  // the number the next line was written with, as far as the file shows
        bool boundSeen = false;
        for (int i = 0; i < static_cast<int>(lines_.size()); ++i) {
            LogEntry entry{i + 1, std::nullopt, false, ""};
            const std::string& previousTag = i == 0 ? empty_ : tags_[i - 1];
            if ((entry.text = open(i, expected, previousTag))) {
                numbers_[i] = expected++;
                boundSeen = true;
            } else if ((entry.text = cDecrypt(lines_[i], kCipherKey))) {
                entry.unbound = true;
                if (boundSeen)
                    entry.problem = "alte Form ohne Platzbindung zwischen neuen Zeilen (eingefügt)";
                numbers_[i] = expected++;
            } else if (const auto place = locate(i, &entry.text)) {
                entry.problem = describe(i, *place, expected, entries);
                numbers_[i] = place->number;
                expected = place->number + 1;
                boundSeen = true;
            } else {
                entry.problem =
                    "nicht entschlüsselbar (verändert, fremd oder aus der Datei eines anderen Tages)";
                ++expected;
            }
            entries.push_back(entry);
        }
        return entries;
    }

  private:
    std::optional<std::string> open(int i, int number, const std::string& previousTag) const {
        return cDecryptBound(lines_[i], kCipherKey, logLineBinding(date_, number, previousTag));
    }

    // Where line i was written: after which line and with which number.
    std::optional<Place> locate(int i, std::optional<std::string>* text) {
        if (++searches_ > kMaxSearches)
            return std::nullopt;
        const int count = static_cast<int>(lines_.size());
        if (i > 0)
            for (int m = 1; m <= count + kSearchWidth; ++m)
                if ((*text = open(i, m, tags_[i - 1])))
                    return Place{m, i - 1};
        if ((*text = open(i, 1, empty_)))
            return Place{1, -1};
        for (int j = 0; j < count; ++j) {
            if (j == i || j == i - 1)
                continue;
            if (numbers_[j] > 0 && (*text = open(i, numbers_[j] + 1, tags_[j])))
                return Place{numbers_[j] + 1, j};
            for (int m = std::max(1, j + 2 - kSearchWidth); m <= j + 2 + kSearchWidth; ++m)
                if ((*text = open(i, m, tags_[j])))
                    return Place{m, j};
        }
        return std::nullopt;
    }

    std::string describe(int i, const Place& place, int expected, std::vector<LogEntry>& entries) const {
        if (place.predecessor == i - 1 && i > 0) {
            const int missing = place.number - expected;
            // An unreadable line just before, then a line one further on: that line was intact, but the
            // line before it was removed.
            if (missing == 1 && !entries.back().text) {
                entries.back().problem = "nicht prüfbar: die Zeile davor wurde entfernt";
                return "";
            }
            if (missing > 0)
                return missing == 1 ? "davor fehlt eine Zeile"
                                    : "davor fehlen " + std::to_string(missing) + " Zeilen";
            return "steht nicht an ihrem Platz (war Zeile " + std::to_string(place.number) + ")";
        }
        for (int k = 0; k < i; ++k)
            if (lines_[k] == lines_[i])
                return "doppelt (wie Zeile " + std::to_string(k + 1) + ")";
        // Its own place is right; the line written before it was moved away (that one is reported).
        if (place.number == i + 1)
            return "";
        if (place.predecessor < 0)
            return "steht nicht an ihrem Platz (gehört an den Anfang)";
        return "vertauscht oder verschoben (gehört hinter Zeile " + std::to_string(place.predecessor + 1) +
               ")";
    }

    std::vector<std::string> lines_;
    std::vector<std::string> tags_;
    std::string date_;
    std::vector<int> numbers_;
    std::string empty_;
    int searches_ = 0;
};

}  // namespace

std::vector<std::string> splitLogLines(const std::string& content) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start < content.size()) {
        auto end = content.find('\n', start);
        if (end == std::string::npos)
            end = content.size();
        std::string line = content.substr(start, end - start);
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        lines.push_back(line);
        start = end + 1;
    }
    return lines;
}

std::vector<LogEntry> readLog(const std::string& content, const std::string& date) {
    return LogCheck(content, date).run();
}

}  // namespace pnl
