#include "stations/station_link.h"

#include <gtest/gtest.h>

#include "link_fixture.h"
#include "stations/resident_image.h"

namespace pnl::test {
namespace {

const TransferLink kDirect{1, false, "", ""};

// Address (4 hex) and data (16 hex) of a write frame.
std::string addressOf(const std::string& frame) {
    return unframed(frame).substr(1, 4);
}
std::string dataOf(const std::string& frame) {
    return unframed(frame).substr(5);
}

TEST(StationFrames, SelectWriteAndHeaderBytes) {
    EXPECT_EQ(SelectFrame(123456, "01"), framed("(01E24001"));
    EXPECT_EQ(SelectFrame(123456, "80"), framed("(01E24080"));
    EXPECT_EQ(SelectFrame(999999, "01"), framed("(0F423F01"));
    EXPECT_EQ(SelectFrame(1, "80"), framed("(00000180"));
    EXPECT_EQ(SelectFrame(0x1ABCDEF, "01"), framed("(ABCDEF01"));  // only the low 24 bits
    EXPECT_EQ(SelectFrame(1, "01").size(), 11u);

    const std::string write = WriteFrame(0x7FC8, {0x00, 0x0A, 0xFF, 0x10, 0x01, 0x7E, 0x80, 0xE1});
    EXPECT_EQ(write, framed(")7FC8000AFF10017E80E1"));
    EXPECT_EQ(write.size(), 23u);

    EXPECT_EQ(WriteFrame(kHeaderAddress, HeaderBlock(300)), framed(")000601002C0101000000"));
    EXPECT_EQ(WriteFrame(kHeaderAddress, HeaderBlock(1)), framed(")00060100010001000000"));
    EXPECT_EQ(WriteFrame(kHeaderAddress, HeaderBlock(582)), framed(")00060100460201000000"));
}

TEST(StationFrames, ImageFieldsAtTheirOffsets) {
    // A 31-character name fills bytes 0 to 30, byte 31 stays 0; a 6-character apartment number has no
    // terminator.
    const std::string name(31, 'N');
    const ResidentImageBytes image =
        ResidentImage(ImageFields{name, "A-12-3", 999999, 1, 9999}, 5, 5, Firmware::V3);
    for (int i = 0; i < 31; ++i)
        EXPECT_EQ(image[i], 'N');
    EXPECT_EQ(image[31], 0);
    EXPECT_EQ(std::string(image.begin() + 32, image.begin() + 38), "A-12-3");
    EXPECT_EQ(image[38], 0x0F);  // 999999 = 0F423F
    EXPECT_EQ(image[39], 0x42);
    EXPECT_EQ(image[40], 0x3F);
    EXPECT_EQ(image[43], 0x01);                 // second serial number 1
    EXPECT_EQ(image[44] * 256 + image[45], 4);  // preceding record
    EXPECT_EQ(image[46] * 256 + image[47], 5);  // the last record follows itself
    EXPECT_EQ(image[49] * 256 + image[50], 9999);
    for (int i = 51; i < 56; ++i)
        EXPECT_EQ(image[i], 0);

    // Dropped characters shorten the name; the rest of its 32 bytes stays 0.
    const ResidentImageBytes dropped = ResidentImage(ImageFields{"É_|~x", "", 0, 0, 0}, 1, 1, Firmware::V27);
    EXPECT_EQ(dropped[0], 'x');
    for (int i = 1; i < 56; ++i)
        EXPECT_EQ(dropped[i], i == 47 ? 1 : 0) << i;

    EXPECT_EQ(imageBlockAddress(1, 0), 0x0080);
    EXPECT_EQ(imageBlockAddress(582, 6), 0x7FC8);
}

TEST(StationTransfer, WorkedExampleRecordOneOfTwo) {
    LinkFixture f;
    f.form.LstPNLTrans.setLines({"Müller, Anna|12|4711|0|0", "Schmidt|3|815|0|0"});
    f.inst.serial.open();
    EXPECT_EQ(StationTransfer(f.program(), f.form, kDirect, 0), StationOutcome::Sent);

    const auto texts = f.sentTexts();
    ASSERT_EQ(texts.size(), 1u + 14u + 1u + 1u);
    EXPECT_EQ(texts[0], framed("(01E24001"));
    const char* addresses[] = {"0080", "0088", "0090", "0098", "00A0", "00A8", "00B0"};
    const char* data[] = {"4D836C6C65722C20", "416E6E6100000000", "0000000000000000", "0000000000000000",
                          "3132000000000012", "6700000000000002", "0000000000000000"};
    for (int j = 0; j < 7; ++j) {
        EXPECT_EQ(addressOf(texts[1 + j]), addresses[j]);
        EXPECT_EQ(dataOf(texts[1 + j]), data[j]);
    }
    EXPECT_EQ(addressOf(texts[8]), "00B8");              // record 2 follows directly
    EXPECT_EQ(dataOf(texts[13]).substr(8, 4), "0001");   // record 2 is preceded by 1 ...
    EXPECT_EQ(dataOf(texts[13]).substr(12, 4), "0002");  // ... and followed by itself
    EXPECT_EQ(texts[15], framed(")00060100020001000000"));
    EXPECT_EQ(texts[16], framed("(01E24080"));
    EXPECT_FALSE(f.inst.dialogs.shown.size());
}

TEST(StationTransfer, PausesStartWhenTheFrameHasLeft) {
    LinkFixture f;
    f.form.LstPNLTrans.setLines({"A|1|1|0|0", "B|2|2|0|0"});
    f.inst.serial.open();
    const auto start = f.inst.loop.now();
    StationTransfer(f.program(), f.form, kDirect, 0);

    const auto& sent = f.sent();
    ASSERT_EQ(sent.size(), 17u);
    std::vector<std::int64_t> gaps;
    for (std::size_t i = 1; i < sent.size(); ++i)
        gaps.push_back(sent[i].atMs - sent[i - 1].atMs);
    EXPECT_EQ(sent[0].atMs, start);
    EXPECT_EQ(gaps[0], 600);
    for (int i = 1; i <= 14; ++i)
        EXPECT_EQ(gaps[i], 50) << i;
    EXPECT_EQ(gaps[15], 500);
    EXPECT_EQ(f.inst.loop.now() - sent.back().atMs, 5000);
}

TEST(StationTransfer, LinksAndProgressForOneAndThreeRecords) {
    LinkFixture f;
    std::vector<int> barValues;
    f.form.PBarPNL.subscribe([&] { barValues.push_back(f.form.PBarPNL.value()); });
    f.inst.serial.open();

    f.form.LstPNLTrans.setLines({"Einzig|1|1|0|0"});
    StationTransfer(f.program(), f.form, kDirect, 0);
    auto texts = f.sentTexts();
    ASSERT_EQ(texts.size(), 10u);
    EXPECT_EQ(dataOf(texts[6]).substr(8, 4), "0000");   // preceding record 0
    EXPECT_EQ(dataOf(texts[6]).substr(12, 4), "0001");  // following record: itself
    EXPECT_EQ(dataOf(texts[8]), "0100010001000000");
    EXPECT_EQ(f.form.PBarPNL.value(), 0);
    EXPECT_FALSE(f.form.PBarPNL.visible());

    f.inst.serial.sent.clear();
    f.form.LstPNLTrans.setLines({"A|1|1|0|0", "B|1|2|0|0", "C|1|3|0|0"});
    StationTransfer(f.program(), f.form, kDirect, 0);
    texts = f.sentTexts();
    ASSERT_EQ(texts.size(), 1u + 21u + 2u);
    const std::pair<const char*, const char*> links[] = {
        {"0000", "0002"}, {"0001", "0003"}, {"0002", "0003"}};
    for (int r = 0; r < 3; ++r) {
        EXPECT_EQ(dataOf(texts[1 + 7 * r + 5]).substr(8, 4), links[r].first) << r;
        EXPECT_EQ(dataOf(texts[1 + 7 * r + 5]).substr(12, 4), links[r].second) << r;
    }
    EXPECT_EQ(f.form.PBarPNL.value(), 100);
    EXPECT_NE(std::find(barValues.begin(), barValues.end(), 50), barValues.end());
    EXPECT_FALSE(f.form.PBarPNL.visible());
}

TEST(StationTransfer, OlderFirmwareUsesItsTable) {
    LinkFixture f;
    f.writeSettings("COM1=30,FALSE", "PNL05=PNL-A,Hof,1,,true");
    f.form.LstPNLTrans.setLines({"Müller|12|1|0|0"});
    f.inst.serial.open();
    StationTransfer(f.program(), f.form, kDirect, 5);
    const auto texts = f.sentTexts();
    EXPECT_EQ(texts[0], framed("(00000101"));
    EXPECT_EQ(dataOf(texts[1]), "4D816C6C65720000");
}

TEST(StationTransfer, ModemCallDialsAndHangsUp) {
    LinkFixture f;
    f.writeSettings("COM1=30,TRUE,ATZ,,0,", "PNL00=PNL-B,Haupteingang,123456,0301234,FALSE");
    f.inst.serial.onOutput = [&](const std::string& bytes) {
        if (bytes == "0 0301234\n\r")
            f.inst.serial.carrier = true;
        if (bytes == "ATH\n\r")
            f.inst.serial.carrier = false;
    };
    f.form.LstPNLTrans.setLines({"A|1|1|0|0"});
    f.inst.serial.open();
    const TransferLink modem{1, true, "ATZ", "0"};
    EXPECT_EQ(StationTransfer(f.program(), f.form, modem, 0), StationOutcome::Sent);

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
}

// The time left announced when a station starts covers everything the station transfer does: its pauses
// (which take all the virtual time here, the recording port sends at once) and its bytes at 9600 baud.
TEST(StationTransfer, TimeLeftAtTheStartCoversTheModemCallAndTheOpeningFrame) {
    struct Starts : TransferProgress {
        void stationStarted(int, const std::string&, int, Ms timeLeft) override { announced = timeLeft; }
        Ms announced{0};
    } progress;
    for (const bool modem : {false, true}) {
        LinkFixture f;
        f.writeSettings("COM1=30,TRUE,ATZ,,0,", "PNL00=PNL-B,Haupteingang,123456,0301234,FALSE");
        f.inst.serial.onOutput = [&](const std::string& bytes) {
            if (bytes == "0 0301234\n\r")
                f.inst.serial.carrier = true;
        };
        f.form.LstPNLTrans.setLines({"A|1|1|0|0", "B|2|2|0|0", "C|3|3|0|0"});
        f.inst.serial.open();
        const auto start = f.inst.loop.now();
        StationTransfer(f.program(), f.form, TransferLink{1, modem, "ATZ", "0"}, 0, &progress);

        std::size_t bytes = 0;
        for (const auto& sent : f.sent())
            bytes += sent.bytes.size();
        const double expected = static_cast<double>(f.inst.loop.now() - start) + bytes * 10000.0 / 9600.0;
        EXPECT_NEAR(static_cast<double>(progress.announced.count()), expected, 1.0) << modem;
    }
}

TEST(StationTransfer, FailedModemCallSendsNothingMore) {
    LinkFixture f;
    f.writeSettings("COM1=30,TRUE,ATZ,,0,", "PNL00=PNL-B,Haupteingang,123456,0309999,FALSE");
    f.form.LstPNLTrans.setLines({"A|1|1|0|0"});
    f.inst.serial.open();
    EXPECT_EQ(StationTransfer(f.program(), f.form, TransferLink{1, true, "ATZ", "0"}, 0),
              StationOutcome::NoCarrier);

    EXPECT_EQ(f.sentTexts(), (std::vector<std::string>{"ATZ\n\r", "0 0309999\n\r"}));
    ASSERT_EQ(f.inst.dialogs.shown.size(), 1u);
    const Message& box = f.inst.dialogs.last();
    EXPECT_EQ(box.text, "Keine Modemverbindung!");
    EXPECT_EQ(box.title, "Modemfehler");
    EXPECT_EQ(box.icon, MsgIcon::Exclamation);
    EXPECT_EQ(box.buttons, MsgButtons::Ok);
    EXPECT_FALSE(f.form.PBarPNL.visible());
}

TEST(StationTransfer, MoreResidentsThanTheMemoryHoldsAreRefused) {
    LinkFixture f;
    std::vector<std::string> lines(583, "Name|1|1|0|0");
    f.form.LstPNLTrans.setLines(lines);
    f.inst.serial.open();
    EXPECT_EQ(StationTransfer(f.program(), f.form, kDirect, 0), StationOutcome::TooManyRecords);
    EXPECT_TRUE(f.sent().empty());
    ASSERT_EQ(f.inst.dialogs.shown.size(), 1u);
    EXPECT_NE(f.inst.dialogs.last().text.find("Haupteingang (PNL00)"), std::string::npos);
    EXPECT_NE(f.inst.dialogs.last().text.find("583"), std::string::npos);

    // 582 fit: the last image ends just below 0x8000.
    lines.pop_back();
    f.form.LstPNLTrans.setLines(lines);
    EXPECT_EQ(StationTransfer(f.program(), f.form, kDirect, 0), StationOutcome::Sent);
    const auto texts = f.sentTexts();
    EXPECT_EQ(addressOf(texts[texts.size() - 3]), "7FC8");
    EXPECT_EQ(texts[texts.size() - 2], framed(")00060100460201000000"));
}

TEST(StationTransfer, PortThatStopsTakingBytesEndsTheStation) {
    LinkFixture f;
    f.form.LstPNLTrans.setLines({"A|1|1|0|0", "B|1|1|0|0"});
    f.inst.serial.open();
    f.inst.serial.onOutput = [&](const std::string&) {
        if (f.inst.serial.sent.size() == 3)
            f.inst.serial.failOutput = true;
    };
    EXPECT_EQ(StationTransfer(f.program(), f.form, kDirect, 0), StationOutcome::LineFailed);
    EXPECT_EQ(f.sent().size(), 3u);
    ASSERT_EQ(f.inst.dialogs.shown.size(), 1u);
    EXPECT_NE(f.inst.dialogs.last().text.find("COM1"), std::string::npos);
    EXPECT_FALSE(f.form.PBarPNL.visible());
}

}  // namespace
}  // namespace pnl::test
