// One station: its residents' transfer lines, the frames and pauses that carry them, its state record.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "app/resident_table.h"
#include "link_fixture.h"
#include "stations/resident_image.h"
#include "stations/run_progress.h"
#include "stations/station_difference.h"
#include "stations/station_directory.h"
#include "stations/station_link.h"
#include "stations/station_state.h"

namespace pnl::test {
namespace {

using ::testing::HasSubstr;

// The transfer lines of a station's directory.
std::vector<std::string> linesOf(LinkFixture& f, int station) {
    return transferLines(StationDirectoryOf(*f.program().residents(), station));
}

TEST(StationDirectory, HoldsTheAssignedResidentsSortedByName) {
    LinkFixture f;
    f.createResidents();
    EXPECT_EQ(linesOf(f, 1).size(), 0u);  // an empty table gives an empty directory
    const DbValue none;
    f.addResident("Müller", "Anna", "12", std::int64_t{4711}, ",,000000", std::int64_t{0}, "01");
    f.addResident("  Meier ", "  ", "3", std::int64_t{5}, ",,004711", std::int64_t{9999}, "01");
    f.addResident("Meier", "Karl", "A-12-345", std::int64_t{6}, "", std::int64_t{10000}, "01");
    f.addResident("Abcdefghijklmnopqrstuvwxyz", "Zacharias", "123456", std::int64_t{999999}, ",,1", none,
                  "01");
    f.addResident("Ohne", "Sernr", "1", none, ",,004711", std::int64_t{-3}, "01");
    f.addResident("   ", "Kein Name", "1", std::int64_t{7}, "", none, "01");  // no name: skipped
    f.addResident("Anders", "", "1", std::int64_t{8}, "", none, "001");       // other station
    f.addResident("Kurz", "", "1", std::int64_t{9}, "", none, "0");           // too short for station 1
    f.addResident("Strich|Name", "Vor|name", "7|8", std::int64_t{10}, "", none, "01");
    f.addResident("Meier", "Karl", "9", std::int64_t{11}, "", none, "01");  // same name: sent twice
    // Cut by characters, not bytes; the apartment trimmed; a blank at station 0 is kept as stored.
    f.addResident("Müller-Lüdenscheidt-Größenwahn", "Jürgen", "  42 ", std::int64_t{12}, "", none, " 1");

    EXPECT_EQ(linesOf(f, 1), (std::vector<std::string>{
                                 "Abcdefghijklmnopqrstuvwxyz, Zac|123456|999999|1|0",
                                 "Meier|3|5|4711|9999",
                                 "Meier, Karl|A-12-3|6|0|0",
                                 "Meier, Karl|9|11|0|0",
                                 "Müller, Anna|12|4711|0|0",
                                 "Müller-Lüdenscheidt-Größenwahn,|42|12|0|0",
                                 "Ohne, Sernr|1|0|0|0",
                                 "StrichName, Vorname|78|10|0|0",
                             }));
    // The walk leaves the shared cursor past the last row.
    EXPECT_TRUE(f.program().residents()->eof());

    // The leftmost position is station 0; a value shorter than the position assigns nothing.
    EXPECT_EQ(linesOf(f, 0), (std::vector<std::string>{}));
    EXPECT_EQ(linesOf(f, 2), (std::vector<std::string>{"Anders|1|8|0|0"}));

    // The second serial number is read as the resident page reads it: one out of range is none.
    f.addResident("Weit", "", "5", std::int64_t{13}, ",,1234567", std::int64_t{0}, "0001");
    f.addResident("Minus", "", "6", std::int64_t{14}, ",,-5", std::int64_t{0}, "0001");
    EXPECT_EQ(linesOf(f, 3), (std::vector<std::string>{"Minus|6|14|0|0", "Weit|5|13|0|0"}));
}

TEST(StationDirectory, SortsByNameIgnoringCaseAndAccents) {
    StationDirectory directory;
    int n = 0;
    for (const char* name : {"Zander", "Müller", "meier", "Muller", "Meier", "Öztürk", "Meier", "Mueller",
                             "Meier, Karl", "Meierhof", "Strauß", "Straub"}) {
        ++n;
        directory.push_back(ImageFields{name, std::to_string(n), n, 0, 0});
    }
    sortDirectory(directory);
    const std::vector<std::string> lines = transferLines(directory);
    EXPECT_EQ(lines, (std::vector<std::string>{"Meier|5|5|0|0", "Meier|7|7|0|0", "meier|3|3|0|0",
                                               "Meier, Karl|9|9|0|0", "Meierhof|10|10|0|0", "Mueller|8|8|0|0",
                                               "Muller|4|4|0|0", "Müller|2|2|0|0", "Öztürk|6|6|0|0",
                                               "Straub|12|12|0|0", "Strauß|11|11|0|0", "Zander|1|1|0|0"}));
}

// More than 16 equal names: a sort that is not stable reorders them (small ranges sort stably anyway).
TEST(StationDirectory, EqualNamesKeepTheOrderOfTheTable) {
    LinkFixture f;
    f.createResidents();
    std::vector<std::string> meiers;
    for (int i = 1; i <= 40; ++i) {
        const std::string apartment = "M" + std::to_string(i);
        f.addResident(i % 3 ? "Meier" : "meier", "", apartment, std::int64_t{i}, "", std::int64_t{0}, "1");
        f.addResident(i % 2 ? "Zander" : "Adam", "", "X" + std::to_string(i), std::int64_t{100 + i}, "",
                      std::int64_t{0}, "1");
    }
    std::vector<std::string> sameName, otherCase;
    for (const std::string& line : linesOf(f, 0)) {
        if (line.starts_with("Meier|"))
            sameName.push_back(line.substr(0, line.find('|', 6)));
        else if (line.starts_with("meier|"))
            otherCase.push_back(line.substr(0, line.find('|', 6)));
    }
    std::vector<std::string> expected, expectedOtherCase;
    for (int i = 1; i <= 40; ++i)
        (i % 3 ? expected : expectedOtherCase).push_back((i % 3 ? "Meier|M" : "meier|M") + std::to_string(i));
    EXPECT_EQ(sameName, expected);
    EXPECT_EQ(otherCase, expectedOtherCase);
}

TEST(StationState, FileKeepsEveryLineAndTrustsNoDamagedFile) {
    const std::vector<std::string> lines{"Müller, Anna|12|4711|0|0", "Zeile mit \\ und\nUmbruch|1|2|3|4"};
    const StationState state{true, DateTime{2026, 12, 6, 14, 3, 9}, 123456, Firmware::V27, lines, true};
    const std::string text = formatStationState(7, state);
    EXPECT_THAT(text, HasSubstr("Stand=vollständig\nDatum=06.12.2026 14:03:09\nSeriennummer=123456\n"
                                "Zeichensatz=2.7x\nErreichbarkeit=geantwortet\nBewohner=2\n"
                                "Zeile=Müller, Anna|12|4711|0|0\n"));
    EXPECT_EQ(parseStationState(text), state);
    // A file written before the presence check's answer was recorded reads as not checked.
    std::string older = text;
    older.erase(older.find("Erreichbarkeit="), std::string("Erreichbarkeit=geantwortet\n").size());
    StationState unchecked = state;
    unchecked.answeredBeforeSending = false;
    EXPECT_EQ(parseStationState(older), unchecked);

    // Cut off after the first line, or with a count edited by hand: not a state.
    EXPECT_FALSE(parseStationState(text.substr(0, text.rfind("Zeile="))));
    EXPECT_FALSE(parseStationState("Stand=vollständig\n"));
}

TEST(StationDifference, NamesTheResidentsThatChanged) {
    const std::vector<std::string> lines{"Albers, Bea|A01|1|0|0", "Meier, Karl|A02|2|0|0",
                                         "Zander, Udo|A03|3|0|0"};
    const StationState held{true, DateTime{2026, 12, 6, 14, 3, 0}, 123456, Firmware::V3, lines};
    const auto with = [&](std::size_t i, const std::string& line) {
        std::vector<std::string> now = lines;
        now[i] = line;
        return now;
    };
    // A changed resident is paired by name, else by apartment and serial number.
    const std::string oneChanged = "geändert (0 neu, 0 entfernt, 1 geändert)";
    const std::vector<std::tuple<std::vector<std::string>, std::uint32_t, std::string>> cases = {
        {lines, 123456, "gesendet am 06.12.2026 14:03, seitdem unverändert"},
        {with(1, "Maier, Karl|A02|2|0|0"), 123456, oneChanged},
        {with(1, "Meier, Karl|A02|2|0|1234"), 123456, oneChanged},
        {with(2, "Young, Ida|B07|9|0|0"), 123456, "geändert (1 neu, 1 entfernt, 0 geändert)"},
        {lines, 654321, "geändert (0 neu, 0 entfernt, 0 geändert)"},
    };
    for (const auto& [now, serial, status] : cases)
        EXPECT_EQ(statusText(compareStation(held, serial, Firmware::V3, now)), status) << now[1] << now[2];
    // The dialog's list: a changed resident is one row, its changed fields before and after in full.
    const std::pair<std::vector<std::string>, std::vector<std::string>> rows[] = {
        {with(1, "Meyer, Karl-Heinz Maximilian|A02|2|0|0"),
         {"bisher: Meier, Karl \u2192 jetzt: Meyer, Karl-Heinz Maximilian|A02|2|0|0"}},
        {with(1, "Meier, Karl|A02|2|0|1234"), {"geändert: Meier, Karl|A02|2|0|bisher: 0 \u2192 jetzt: 1234"}},
        {with(2, "Young, Ida|B07|9|0|0"), {"neu: Young, Ida|B07|9|0|0", "entfernt: Zander, Udo|A03|3|0|0"}},
    };
    for (const auto& [now, expected] : rows)
        EXPECT_EQ(differenceRows(compareStation(held, 123456, Firmware::V3, now)), expected);

    StationState answered = held;
    answered.answeredBeforeSending = true;
    EXPECT_EQ(statusText(compareStation(answered, 123456, Firmware::V3, lines)),
              "gesendet am 06.12.2026 14:03, seitdem unverändert; Station hat vor dem Senden geantwortet");
    EXPECT_EQ(statusText(compareStation(std::nullopt, 1, Firmware::V3, lines)), "nie übertragen");
    StationState broken = held;
    broken.complete = false;
    EXPECT_EQ(statusText(compareStation(broken, 123456, Firmware::V3, lines)), "unvollständig");
}

const TransferLink kDirect{1, false, "", ""};

// Address (4 hex) and data (16 hex) of a write frame.
std::string addressOf(const std::string& frame) {
    return frame.substr(2, 4);
}
std::string dataOf(const std::string& frame) {
    return frame.substr(6, 16);
}

TEST(StationFrames, SelectWriteAndHeaderBytes) {
    EXPECT_EQ(SelectFrame(999999, "01"), framed("(0F423F01"));
    EXPECT_EQ(SelectFrame(0x1ABCDEF, "01"), framed("(ABCDEF01"));  // only the low 24 bits

    EXPECT_EQ(WriteFrame(0x7FC8, {0x00, 0x0A, 0xFF, 0x10, 0x01, 0x7E, 0x80, 0xE1}),
              framed(")7FC8000AFF10017E80E1"));
    EXPECT_EQ(WriteFrame(kHeaderAddress, HeaderBlock(300)), framed(")000601002C0101000000"));
}

// The 56 bytes of an image as hex, block by block as the write frames carry them.
std::string hexOf(const ResidentImageBytes& image) {
    std::string hex;
    for (int block = 0; block < kBlocksPerImage; ++block)
        hex += dataOf(WriteFrame(0, imageBlock(image, block)));
    return hex;
}

TEST(StationFrames, ImageFieldsAtTheirOffsets) {
    // A 31-character name keeps byte 31 zero; a 6-character apartment has no terminator; record 5 of 5.
    std::string name;
    for (int i = 0; i < 31; ++i)
        name += "4E";
    EXPECT_EQ(hexOf(ResidentImage(ImageFields{std::string(31, 'N'), "A-12-3", 999999, 1, 9999}, 5, 5,
                                  Firmware::V3)),
              name + "00" + "412D31322D33" + "0F423F" + "000001" + "0004" + "0005" + "00270F" + "0000000000");
    // Dropped characters shorten the name; the rest of its 32 bytes stays 0.
    EXPECT_EQ(hexOf(ResidentImage(ImageFields{"É_|~x", "", 0, 0, 0}, 1, 1, Firmware::V27)),
              "78" + std::string(92, '0') + "01" + std::string(16, '0'));
    EXPECT_EQ(imageBlockAddress(582, 6), 0x7FC8);
}

// The dialog's progress (its bar), and the time announced at the station's start.
struct Announced : TransferDialogProgress {
    explicit Announced(LinkFixture& f) : TransferDialogProgress(f.form, f.directories) {}
    void stationStarted(int station, const std::string& label, int records, Ms timeLeft) override {
        atStart = timeLeft;
        TransferDialogProgress::stationStarted(station, label, records, timeLeft);
    }
    Ms atStart{0};
};

// Pauses run from handing a frame over; at 1200 baud the wire, not the pause, sets the gap.
TEST(StationTransfer, ThreeRecordsTheirBytesPausesAndProgress) {
    const char* recordOne[] = {"00804D836C6C65722C20", "0088416E6E6100000000", "00900000000000000000",
                               "00980000000000000000", "00A03132000000000012", "00A86700000000000002",
                               "00B00000000000000000"};
    struct Case {
        int baud;
        std::int64_t blockGap;
    };
    for (const Case c : {Case{0, 50}, Case{9600, 50}, Case{1200, 192}}) {
        LinkFixture f;
        Announced progress(f);
        std::vector<int> barValues;
        f.form.progress.subscribe([&] { barValues.push_back(f.form.progress.value()); });
        f.inst.serial.wireBaud = c.baud;
        const StationDirectory directory{
            {"Müller, Anna", "12", 4711, 0, 0}, {"Schmidt", "3", 815, 0, 0}, {"Zorn", "4", 9, 0, 0}};
        f.inst.serial.open();
        const auto start = f.inst.loop.now();
        EXPECT_EQ(StationTransfer(f.program(), directory, kDirect, 0, &progress), StationOutcome::Sent);

        const auto& sent = f.sent();
        ASSERT_EQ(sent.size(), 1u + 21u + 2u);
        EXPECT_EQ(sent[0].bytes, framed("(01E24001"));
        for (int j = 0; j < 7; ++j)
            EXPECT_EQ(sent[1 + j].bytes, framed(std::string(")") + recordOne[j]));
        EXPECT_EQ(addressOf(sent[8].bytes), "00B8");                 // record 2 follows directly
        EXPECT_EQ(dataOf(sent[13].bytes).substr(8, 8), "00010003");  // preceded by 1, followed by 3
        EXPECT_EQ(dataOf(sent[20].bytes).substr(8, 8), "00020003");  // the last record follows itself
        EXPECT_EQ(sent[22].bytes, framed(")00060100030001000000"));
        EXPECT_EQ(sent[23].bytes, framed("(01E24080"));

        EXPECT_EQ(sent[0].atMs, start);
        EXPECT_EQ(sent[1].atMs - sent[0].atMs, 600) << c.baud;
        for (std::size_t i = 2; i <= 22; ++i) {
            EXPECT_EQ(sent[i].atMs - sent[i - 1].atMs, c.blockGap) << c.baud << " frame " << i;
            EXPECT_LE(sent[i - 1].leftAtUs, sent[i].atMs * 1000) << c.baud << " frame " << i;
        }
        EXPECT_EQ(sent[23].atMs - sent[22].atMs, 500) << c.baud;
        EXPECT_EQ(f.inst.loop.now() - sent.back().atMs, 5000) << c.baud;
        if (c.blockGap == 50) {
            EXPECT_EQ(progress.atStart.count(), f.inst.loop.now() - start) << c.baud;
        }
        EXPECT_EQ(f.form.progress.value(), 100);
        EXPECT_NE(std::find(barValues.begin(), barValues.end(), 50), barValues.end());
    }
}

// ATZ, dial, the frames and the hang-up, each with its pause.
// The run's time left counts the presence check only for stations that will be probed: those with residents.
TEST(RunProgress, AStationWithoutResidentsAddsNoTime) {
    struct LastStatus : TransferProgress {
        void runStatus(const RunStatus& status) override { runLeft = status.runLeft; }
        Ms runLeft{0};
    } withEmpty, without;
    VirtualEventLoop loop;
    const TransferProgress::Ms probe(2600);
    RunProgress(loop, &withEmpty, {{0, "A", 3}, {1, "B", 0}}, false, probe).portOpened(1, probe);
    RunProgress(loop, &without, {{0, "A", 3}}, false, probe).portOpened(1, probe);
    EXPECT_EQ(withEmpty.runLeft, without.runLeft);
}

TEST(StationTransfer, ModemCallDialsAndHangsUp) {
    LinkFixture f;
    f.writeSettings("COM1=30,TRUE,ATZ,,0,", "PNL00=PNL-B,Haupteingang,123456,0301234,FALSE");
    f.inst.serial.onOutput = [&](const std::string& bytes) {
        f.inst.serial.carrier = f.inst.serial.carrier || bytes == "0 0301234\n\r";
    };
    const StationDirectory directory{{"A", "1", 1, 0, 0}};
    f.inst.serial.wireBaud = 9600;
    f.inst.serial.open();
    Announced progress(f);
    EXPECT_EQ(StationTransfer(f.program(), directory, TransferLink{1, true, "ATZ", "0"}, 0, &progress),
              StationOutcome::Sent);

    const auto& sent = f.sent();
    ASSERT_EQ(sent.size(), 2u + 10u + 1u);
    EXPECT_EQ(sent[0].bytes, "ATZ\n\r");
    EXPECT_EQ(sent[1].bytes, "0 0301234\n\r");
    EXPECT_EQ(sent[1].atMs - sent[0].atMs, 2000);
    EXPECT_EQ(sent[2].bytes, framed("(01E24001"));
    EXPECT_EQ(sent[2].atMs - sent[1].atMs, 30000);
    EXPECT_EQ(sent[12].bytes, "ATH\n\r");
    EXPECT_EQ(sent[12].atMs - sent[11].atMs, 5000);
    EXPECT_EQ(f.inst.loop.now() - sent[12].atMs, 3000);
    // The time announced at the start covers the modem call and the opening frame.
    EXPECT_EQ(progress.atStart.count(), f.inst.loop.now() - sent[0].atMs);

    // A call that does not connect hides the bar again (what it sends is checked in the simulator run).
    f.inst.serial.onOutput = {};
    f.inst.serial.carrier = false;
    Announced bar(f);
    EXPECT_EQ(StationTransfer(f.program(), directory, TransferLink{1, true, "ATZ", "0"}, 0, &bar),
              StationOutcome::NoCarrier);
    EXPECT_FALSE(f.form.progress.visible());

    // A state file that cannot be written before the first frame: the call is ended, not left up.
    f.inst.serial.sent.clear();
    f.inst.serial.onOutput = [&](const std::string& bytes) {
        f.inst.serial.carrier = f.inst.serial.carrier || bytes == "0 0301234\n\r";
    };
    f.inst.fs.diskFull = [](const std::string& path, const std::string&) {
        return path.ends_with("PNL00_STAND.TXT");
    };
    Announced full(f);
    EXPECT_EQ(StationTransfer(f.program(), directory, TransferLink{1, true, "ATZ", "0"}, 0, &full),
              StationOutcome::StateNotSaved);
    std::vector<std::string> bytes;
    for (const auto& s : f.sent())
        bytes.push_back(s.bytes);
    EXPECT_EQ(bytes, (std::vector<std::string>{"ATZ\n\r", "0 0301234\n\r", "ATH\n\r"}));
}

}  // namespace
}  // namespace pnl::test
