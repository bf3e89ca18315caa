#include "app/log_reader.h"

#include <algorithm>
#include <cstdint>

#include "app/event_log.h"
#include "app/program.h"
#include "platform/cipher.h"

namespace pnl {

namespace {

// How far from its own place a swapped or moved line's neighbours are looked for first.
constexpr int kSearchWidth = 3;
// The searches for misplaced lines try at most this many places per line of the file in all, so that a file
// of any length reads in time proportional to its length (under another day's name no line opens anywhere)...
constexpr std::int64_t kTriesPerLine = 16;
// ... and at least this many, so that a short file is searched through for every misplaced line.
constexpr std::int64_t kTriesAtLeast = 20000;

constexpr const char* kTorn = "abgerissen (unvollständig geschrieben, etwa bei einem Stromausfall)";

// What is left of a sealed text cut while it was written: its characters, or the zero bytes a file system
// leaves where the data never reached the disk.
bool looksCut(const std::string& line) {
    return !line.empty() && std::all_of(line.begin(), line.end(), [](char c) {
        return c == '\0' || c == '-' || c == '_' || (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') ||
               (c >= 'a' && c <= 'z');
    });
}

struct Place {
    int number = 0;        // the line's number when it was written
    int predecessor = -1;  // index of the line it was written after; -1: the file's first line
};

class LogCheck {
  public:
    LogCheck(const std::string& content, const std::string& date)
        : lines_(splitLogLines(content)),
          date_(date),
          numbers_(lines_.size(), 0),
          lastLineOpen_(!content.empty() && content.back() != '\n'),
          triesLeft_(std::max<std::int64_t>(kTriesAtLeast,
                                            kTriesPerLine * static_cast<std::int64_t>(lines_.size()))) {
        sealed_.reserve(lines_.size());
        for (const auto& line : lines_) {
            sealed_.emplace_back(line, kCipherKey);
            tags_.push_back(sealed_.back().tag());
        }
    }

    std::vector<LogEntry> run() {
        std::vector<LogEntry> entries;
        int expected = 1;  // the number the next line was written with, as far as the file shows
        bool boundSeen = false;
        const int count = static_cast<int>(lines_.size());
        for (int i = 0; i < count; ++i) {
            LogEntry entry{i + 1, std::nullopt, false, ""};
            const std::string& previousTag = i == 0 ? empty_ : tags_[i - 1];
            // A line written after a cut line is bound as after a line that is no sealed text.
            bool afterNoSeal = previousTag.empty();
            if (!(entry.text = open(i, expected, previousTag)) && !afterNoSeal)
                afterNoSeal = (entry.text = open(i, expected, empty_)).has_value();
            if (entry.text) {
                if (i > 0 && afterNoSeal && !entries.back().text && looksCut(lines_[i - 1]))
                    entries.back().problem = kTorn;
                numbers_[i] = expected++;
                boundSeen = true;
            } else if ((entry.text = sealed_[i].open(""))) {
                entry.unbound = true;
                if (boundSeen)
                    entry.problem = "alte Form ohne Platzbindung zwischen neuen Zeilen (eingefügt)";
                numbers_[i] = expected++;
            } else if (i == count - 1 && lastLineOpen_ && looksCut(lines_[i])) {
                entry.problem = kTorn;
                ++expected;
            } else if (const auto place = locate(i, expected, &entry.text)) {
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
        return sealed_[i].open(logLineBinding(date_, number, previousTag));
    }

    // Opens line i as written with `number` after line `predecessor` (-1: first line of the file).
    bool tryPlace(int i, int number, int predecessor, std::optional<std::string>* text, Place* place) {
        if (number < 1 || predecessor == i || triesLeft_ <= 0)
            return false;
        --triesLeft_;
        if (!(*text = open(i, number, predecessor < 0 ? empty_ : tags_[predecessor])))
            return false;
        *place = Place{number, predecessor};
        return true;
    }

    // The numbers a line written after line j may carry: one more than j's own, or about its place.
    bool tryAfter(int i, int j, std::optional<std::string>* text, Place* place) {
        if (numbers_[j] > 0 && tryPlace(i, numbers_[j] + 1, j, text, place))
            return true;
        for (int m = j + 2 - kSearchWidth; m <= j + 2 + kSearchWidth; ++m)
            if (tryPlace(i, m, j, text, place))
                return true;
        return false;
    }

    // Where line i was written: after which line and with which number. The neighbourhood first, then every
    // other place, while the file's allowance of tries lasts.
    std::optional<Place> locate(int i, int expected, std::optional<std::string>* text) {
        const int count = static_cast<int>(lines_.size());
        const auto near = [&](int m) { return m >= expected - kSearchWidth && m <= expected + kSearchWidth; };
        Place place;
        if (i > 0)
            for (int m = expected - kSearchWidth; m <= expected + kSearchWidth; ++m)
                if (tryPlace(i, m, i - 1, text, &place))
                    return place;
        if (tryPlace(i, 1, -1, text, &place))
            return place;
        const int nearFrom = std::max(0, i - kSearchWidth), nearTo = std::min(count - 1, i + kSearchWidth);
        for (int j = nearFrom; j <= nearTo; ++j)
            if (j != i - 1 && tryAfter(i, j, text, &place))
                return place;
        if (i > 0)
            for (int m = 1; m <= count + kSearchWidth && triesLeft_ > 0; ++m)
                if (!near(m) && tryPlace(i, m, i - 1, text, &place))
                    return place;
        for (int j = 0; j < count && triesLeft_ > 0; ++j)
            if ((j < nearFrom || j > nearTo) && tryAfter(i, j, text, &place))
                return place;
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
    std::vector<SealedText> sealed_;  // each line decoded once: a search tries it at many places
    std::string date_;
    std::vector<int> numbers_;
    std::string empty_;
    bool lastLineOpen_;       // the file ends inside its last line
    std::int64_t triesLeft_;  // what is left of the searches' allowance
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
