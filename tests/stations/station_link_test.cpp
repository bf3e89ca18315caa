#include "stations/station_link.h"

#include <gtest/gtest.h>

#include "link_fixture.h"
#include "stations/resident_image.h"

namespace pnl::test {
namespace {

const TransferLink kDirect{1, false, "", ""};

// Address (4 hex) and data (16 hex) of a write frame.
std::string addressOf(const std::string& frame) {
    return frame.substr(2, 4);
}
std::string dataOf(const std::string& frame) {
    return frame.substr(6, 16);
}

TEST(StationFrames, SelectWriteAndHeaderBytes) {
    EXPECT_EQ(SelectFrame(123456, "01"), framed("(01E24001"));
    EXPECT_EQ(SelectFrame(123456, "80"), framed("(01E24080"));
    EXPECT_EQ(SelectFrame(999999, "01"), framed("(0F423F01"));
    EXPECT_EQ(SelectFrame(1, "80"), framed("(00000180"));
    EXPECT_EQ(SelectFrame(0x1ABCDEF, "01"), framed("(ABCDEF01"));  // only the low 24 bits

    EXPECT_EQ(WriteFrame(0x7FC8, {0x00, 0x0A, 0xFF, 0x10, 0x01, 0x7E, 0x80, 0xE1}),
              framed(")7FC8000AFF10017E80E1"));
    EXPECT_EQ(WriteFrame(kHeaderAddress, HeaderBlock(300)), framed(")000601002C0101000000"));
    EXPECT_EQ(WriteFrame(kHeaderAddress, HeaderBlock(1)), framed(")00060100010001000000"));
    EXPECT_EQ(WriteFrame(kHeaderAddress, HeaderBlock(582)), framed(")00060100460201000000"));
}

// The 56 bytes of an image as hex, block by block as the write frames carry them.
std::string hexOf(const ResidentImageBytes& image) {
    std::string hex;
    for (int block = 0; block < kBlocksPerImage; ++block)
        hex += dataOf(WriteFrame(0, imageBlock(image, block)));
    return hex;
}

TEST(StationFrames, ImageFieldsAtTheirOffsets) {
    // A 31-character name fills bytes 0 to 30, byte 31 stays 0; a 6-character apartment number has no
    // terminator; the last record follows itself.
    std::string name;
    for (int i = 0; i < 31; ++i)
        name += "4E";
    EXPECT_EQ(hexOf(ResidentImage(ImageFields{std::string(31, 'N'), "A-12-3", 999999, 1, 9999}, 5, 5,
                                  Firmware::V3)),
              name + "00" + "412D31322D33" + "0F423F" + "000001" + "0004" + "0005" + "00270F" + "0000000000");
    // Dropped characters shorten the name; the rest of its 32 bytes stays 0.
    EXPECT_EQ(hexOf(ResidentImage(ImageFields{"É_|~x", "", 0, 0, 0}, 1, 1, Firmware::V27)),
              "78" + std::string(92, '0') + "01" + std::string(16, '0'));
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
    EXPECT_TRUE(f.inst.dialogs.shown.empty());
}

TEST(StationTransfer, ProgressBarRunsOverTheRecordsAndHidesAtTheEnd) {
    LinkFixture f;
    std::vector<int> barValues;
    f.form.PBarPNL.subscribe([&] { barValues.push_back(f.form.PBarPNL.value()); });
    f.inst.serial.open();
    f.form.LstPNLTrans.setLines({"Einzig|1|1|0|0"});
    StationTransfer(f.program(), f.form, kDirect, 0);
    EXPECT_EQ(f.form.PBarPNL.value(), 0);
    EXPECT_FALSE(f.form.PBarPNL.visible());

    f.form.LstPNLTrans.setLines({"A|1|1|0|0", "B|1|2|0|0", "C|1|3|0|0"});
    StationTransfer(f.program(), f.form, kDirect, 0);
    EXPECT_EQ(f.form.PBarPNL.value(), 100);
    EXPECT_NE(std::find(barValues.begin(), barValues.end(), 50), barValues.end());
    EXPECT_FALSE(f.form.PBarPNL.visible());
}

struct Announced : TransferProgress {
    void stationStarted(int, const std::string&, int, Ms timeLeft) override { atStart = timeLeft; }
    Ms atStart{0};
};

// Each pause starts when its frame is handed to the port; the next frame is handed over only once the one
// before has left. At 9600 baud a write frame's 24 ms on the wire pass inside its 50 ms pause, so the time
// announced at the start is the station's time; on a line too slow for the pause the frames follow each other
// as fast as the wire takes them.
TEST(StationTransfer, PausesStartWhenTheFrameIsHandedOver) {
    struct Case {
        int baud;
        std::int64_t blockGap;
    };
    for (const Case c : {Case{0, 50}, Case{9600, 50}, Case{1200, 192}}) {
        LinkFixture f;
        Announced progress;
        f.inst.serial.wireBaud = c.baud;
        f.form.LstPNLTrans.setLines({"A|1|1|0|0", "B|2|2|0|0"});
        f.inst.serial.open();
        const auto start = f.inst.loop.now();
        EXPECT_EQ(StationTransfer(f.program(), f.form, kDirect, 0, &progress), StationOutcome::Sent);

        const auto& sent = f.sent();
        ASSERT_EQ(sent.size(), 17u);
        EXPECT_EQ(sent[0].atMs, start);
        EXPECT_EQ(sent[1].atMs - sent[0].atMs, 600) << c.baud;
        for (std::size_t i = 2; i <= 15; ++i) {
            EXPECT_EQ(sent[i].atMs - sent[i - 1].atMs, c.blockGap) << c.baud << " frame " << i;
            EXPECT_LE(sent[i - 1].leftAtUs, sent[i].atMs * 1000) << c.baud << " frame " << i;
        }
        EXPECT_EQ(sent[16].atMs - sent[15].atMs, 500) << c.baud;
        EXPECT_EQ(f.inst.loop.now() - sent.back().atMs, 5000) << c.baud;
        if (c.blockGap == 50) {
            EXPECT_EQ(progress.atStart.count(), f.inst.loop.now() - start) << c.baud;
        }
    }
}

// A station behind a modem that connects only to 0301234.
struct ModemStation : LinkFixture {
    explicit ModemStation(const std::string& phone) {
        writeSettings("COM1=30,TRUE,ATZ,,0,", "PNL00=PNL-B,Haupteingang,123456," + phone + ",FALSE");
        connectOnDial({"0 0301234\n\r"});
        form.LstPNLTrans.setLines({"A|1|1|0|0"});
        inst.serial.open();
    }
    StationOutcome transfer(TransferProgress* progress = nullptr) {
        return StationTransfer(program(), form, TransferLink{1, true, "ATZ", "0"}, 0, progress);
    }
};

TEST(StationTransfer, ModemCallDialsAndHangsUp) {
    ModemStation f("0301234");
    f.inst.serial.wireBaud = 9600;
    Announced progress;
    EXPECT_EQ(f.transfer(&progress), StationOutcome::Sent);

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
}

TEST(StationTransfer, FailedModemCallSendsNothingMore) {
    ModemStation f("0309999");
    EXPECT_EQ(f.transfer(), StationOutcome::NoCarrier);
    EXPECT_EQ(f.sentTexts(), (std::vector<std::string>{"ATZ\n\r", "0 0309999\n\r"}));
    ASSERT_EQ(f.inst.dialogs.shown.size(), 1u);
    const Message& box = f.inst.dialogs.last();
    EXPECT_EQ(box.text, "Keine Modemverbindung!");
    EXPECT_EQ(box.title, "Modemfehler");
    EXPECT_EQ(box.icon, MsgIcon::Exclamation);
    EXPECT_EQ(box.buttons, MsgButtons::Ok);
    EXPECT_FALSE(f.form.PBarPNL.visible());
}

}  // namespace
}  // namespace pnl::test
