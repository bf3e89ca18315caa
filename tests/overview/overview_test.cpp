// The resident overview: the name as the stations show it, the stations of many residents, export and import.

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <filesystem>
#include <tuple>

#include "app/program.h"
#include "overview/overview_page.h"
#include "overview/resident_export.h"
#include "overview/resident_import.h"
#include "overview/resident_overview.h"
#include "platform/collation.h"
#include "residents/resident_fixture.h"
#include "residents/resident_search.h"

namespace pnl::test {
namespace {

struct OverviewTest : ::testing::Test {
    ResidentFixture f;

    // Every column of every row, as the database holds it.
    std::string dump() {
        std::string out;
        const auto rows = f.db().query("SELECT * FROM BEWOHNER ORDER BY rowid");
        for (const auto& row : *rows)
            for (const auto& value : row)
                out += dbText(value) + "|";
        return out;
    }
};

TEST(StationNameDisplay, MarksDroppedCharactersAndTheCut) {
    // Name, first name, firmware, shown, marked, part of the tip.
    const std::tuple<std::string, std::string, Firmware, std::string, std::string, std::string> cases[] = {
        {"  Müller ", "Anna", Firmware::V3, "Müller, Anna", "Müller, Anna", ""},
        {"Café", "", Firmware::V27, "Cafe", "Cafe", ""},
        {"Émile_X", "", Firmware::V3, "mileX", "É\u0336mile_\u0336X", "\u201EÉ\u201C, \u201E_\u201C"},
        {"Abcdefghijklmnopqrstuvwxyz", "Vorname", Firmware::V3, "Abcdefghijklmnopqrstuvwxyz, Vor",
         "Abcdefghijklmnopqrstuvwxyz, Vor\u2702name", "gekürzt, es fehlt: \u201Ename\u201C"},
        {"", "Anna", Firmware::V3, "", "", ""},
    };
    for (const auto& [name, firstName, firmware, shown, marked, tipHas] : cases) {
        const NameDisplay display = displayName(name, firstName, firmware);
        EXPECT_EQ(display.shown, shown) << name;
        EXPECT_EQ(display.marked, marked) << name;
        EXPECT_EQ(display.tip.empty(), tipHas.empty()) << name;
        EXPECT_NE(display.tip.find(tipHas), std::string::npos) << name << ": " << display.tip;
    }
}

TEST_F(OverviewTest, DisplayFollowsTheFirmwareOfTheAssignedStationsInOverviewAndPageAndSearchIgnoresCase) {
    // Station 5 runs the older firmware, 0 the current one.
    f.addRow("François", "", "1", std::int64_t{1}, ",,000000", std::int64_t{0}, stationsWith({5}));
    f.addRow("François", "", "2", std::int64_t{2}, ",,000000", std::int64_t{0}, stationsWith({0, 5}));
    f.addRow("François", "", "3", std::int64_t{3}, ",,000000", std::int64_t{0}, stationsWith({}));
    f.addRow("Müller", "Anna", "A12", std::int64_t{4711}, ",,000815");
    f.addRow("Meier", "Karl", "B7", std::int64_t{123456});
    const Overview overview = LoadOverview(f.program());
    ASSERT_EQ(overview.rows.size(), 5u);
    EXPECT_EQ(overview.rows[0].display.shown, "Franois");
    EXPECT_EQ(overview.rows[1].display.shown, "François");
    EXPECT_NE(overview.rows[1].display.tip.find("2.7X zeigen: \u201EFranois\u201C"), std::string::npos);
    EXPECT_EQ(overview.rows[2].display.shown + overview.rows[2].display.tip, "François");  // current firmware

    const std::pair<std::string, std::string> searches[] = {
        {"MÜL", "Müller "}, {"anna", "Müller "},
        {"b7", "Meier "},   {"004711", "Müller "},
        {"815", "Müller "}, {"me karl", "Meier "},
        {"xyz", ""},        {"", "François François François Müller Meier "}};
    for (const auto& [search, expected] : searches) {
        std::string hits;
        for (const auto& row : overview.rows)
            hits += TextSearch(search).matches(row.searchText) ? row.name + " " : "";
        EXPECT_EQ(hits, expected) << search;
    }
    // The resident page shows the name as the stations show it while the user types.
    f.editor.OpenResidentView();
    f.form.lastName.setText("François");
    EXPECT_EQ(f.form.displayText.caption(), "François");
    f.tick("S05");  // older firmware: no ç
    EXPECT_EQ(f.form.displayText.caption(), "Franç\u0336ois");
    EXPECT_NE(f.form.displayText.tip().find("\u201Eç\u201C"), std::string::npos);
    f.form.firstName.setText("Marie-Chantal Élisabeth");
    EXPECT_EQ(f.form.displayText.caption(), "Franç\u0336ois, Marie-Chantal \u00C9\u0336lisabe\u2702th");
    f.inst.dialogs.answer(MsgAnswer::No);  // the typed resident is not kept
    f.editor.newResident();
    EXPECT_EQ(f.form.displayText.caption(), "");
}

TEST_F(OverviewTest, MarkedRowsAndTickBoxesAssignInPlaceAndSayWhatHappened) {
    const auto a = f.addRow("A", "", "1", std::int64_t{1}, ",,000000", std::int64_t{0}, stationsWith({0}));
    const auto b = f.addRow("B", "", "2", std::int64_t{2}, ",,000000", std::int64_t{0}, stationsWith({12}));
    const auto c = f.addRow("C", "", "3", std::int64_t{3}, ",,000000", std::int64_t{0}, "");
    const auto gone = f.addRow("D", "", "4", std::int64_t{4});
    OverviewPageForm form;
    OverviewPage page(f.program(), form);
    page.Open();
    int reloads = 0;
    std::string changedRows;
    page.reloaded = [&] { ++reloads; };
    page.rowsChanged = [&](std::size_t first, std::size_t last) {
        changedRows += std::to_string(first) + "-" + std::to_string(last) + " ";
    };
    ASSERT_TRUE(f.db().exec("DELETE FROM BEWOHNER WHERE ID = ?", {gone}));
    const auto ticks = [&](std::size_t row) { return encodeStations(page.overview().rows.at(row).stations); };

    // The marked rows: the outcome counts what changed and what was so already; the rows change in place.
    page.SetStation({a, b, c}, 12, true);
    EXPECT_EQ(form.outcome.caption(), "3 markiert: 2 zugeordnet, 1 war es schon (PNL12 Tiefgarage).");
    page.SetStation({a, c, gone}, 0, false);
    EXPECT_EQ(form.outcome.caption(),
              "3 markiert: 1 entfernt, 1 war es nicht, 1 nicht mehr vorhanden (PNL00 Haupteingang).");
    EXPECT_EQ(f.column(a, "PNL") + f.column(b, "PNL") + f.column(c, "PNL"),
              stationsWith({12}) + stationsWith({12}) + stationsWith({12}));
    EXPECT_EQ(ticks(0) + ticks(1) + ticks(2), stationsWith({12}) + stationsWith({12}) + stationsWith({12}));
    // A tick box: its own transaction and log line.
    page.TickStation(1, 5, true);
    EXPECT_EQ(form.outcome.caption(), "B der PNL05 Nebeneingang zugeordnet.");
    EXPECT_EQ(f.column(b, "PNL"), stationsWith({5, 12}));
    EXPECT_EQ(ticks(1), stationsWith({5, 12}));
    EXPECT_EQ(changedRows, "0-2 0-2 1-1 ");
    EXPECT_EQ(reloads, 0);
    EXPECT_EQ(f.inst.logTexts(),
              (std::vector<std::string>{
                  "Bewohnerdatensatz: 1 wurde geaendert.", "Bewohnerdatensatz: 3 wurde geaendert.",
                  "Bewohnerdatensatz: 1 wurde geaendert.", "Bewohnerdatensatz: 2 wurde geaendert."}));
    // A write the database refuses: told, and neither the row nor the tick changes.
    ASSERT_TRUE(
        f.db().exec("CREATE TRIGGER locked BEFORE UPDATE ON BEWOHNER BEGIN SELECT RAISE(ABORT, 'x'); END"));
    page.TickStation(2, 63, true);
    EXPECT_EQ(f.inst.dialogs.texts(),
              std::vector<std::string>{
                  "Die PNL-Zuordnung konnte nicht gesichert werden; die Bewohnerdaten sind unverändert."});
    EXPECT_EQ(f.column(c, "PNL") + ticks(2), stationsWith({12}) + stationsWith({12}));
    EXPECT_EQ(f.inst.logTexts().size(), 4u);
}

TEST_F(OverviewTest, ExportThenImportLeavesTheTableIdentical) {
    f.addRow("Müller", "Anna", "A12", std::int64_t{4711}, ",,000815", std::int64_t{1234},
             stationsWith({0, 7, 12}));
    f.addRow("Meier; \"Sohn\"", "", "B7", std::int64_t{123456}, ",,000000", std::int64_t{0}, "");
    f.addRow("Øster, Åse", "Zoë", "C1", std::int64_t{99}, "", DbValue{}, stationsWith({63}));
    // Texts a spreadsheet program would evaluate, and one that already begins with an apostrophe.
    f.addRow("=HYPERLINK(\"http://x\")", "'@Anna", "-1", std::int64_t{98}, "", DbValue{}, "");
    f.addRow("+49 Meier", "'Ida", "@B", std::int64_t{97}, "", DbValue{}, "");
    const std::string before = dump();

    const std::string exported = ExportText(LoadOverview(f.program()));
    EXPECT_TRUE(
        exported.starts_with("\xEF\xBB\xBFID;Name;Vorname;Wohnungsnr.;Seriennr. 1;Seriennr. 2;Code;"
                             "PNL00 Haupteingang;PNL05 Nebeneingang;PNL12 Tiefgarage;PNL63 Hof\r\n"));
    EXPECT_NE(exported.find("\r\n1;Müller;Anna;A12;4711;815;1234;x;;x;\r\n"), std::string::npos) << exported;
    EXPECT_NE(exported.find("\"Meier; \"\"Sohn\"\"\""), std::string::npos);
    EXPECT_NE(exported.find(";\"'=HYPERLINK(\"\"http://x\"\")\";''@Anna;'-1;98;"), std::string::npos)
        << exported;
    EXPECT_NE(exported.find(";'+49 Meier;'Ida;'@B;97;"), std::string::npos) << exported;

    const ImportPreview result = PreviewImport(f.program(), exported);
    EXPECT_EQ(result.count(ImportStatus::Unchanged), 5);
    std::string error;
    ASSERT_TRUE(ApplyImport(f.program(), result, false, &error)) << error;
    EXPECT_EQ(dump(), before);
}

TEST_F(OverviewTest, ImportMatchesByIdThenSerialRemovesMissingOnlyWhenAskedAndReadsWindows1252) {
    const auto a =
        f.addRow("Alt", "Anna", "1", std::int64_t{100}, ",,000000", std::int64_t{0}, stationsWith({5}));
    const auto b = f.addRow("Bleibt", "", "2", std::int64_t{200});
    const auto c = f.addRow("Fehlt", "", "3", std::int64_t{300});
    // UTF-8 with BOM, separated by commas; row 1 by ID (its serial changes), row 2 by serial.
    const std::string file = "\xEF\xBB\xBFid,NAME,Vorname,Wohnungsnr.,Seriennr. 1\n" + std::to_string(a) +
                             ",Neu,Anna,1,101\n,Bleibt,,2,200\n";
    ImportPreview result = PreviewImport(f.program(), file);
    EXPECT_EQ(previewSummary(result, true),
              "0 neu, 1 geändert, 1 unverändert, 0 Fehler. "
              "1 Bewohner stehen nicht in der Datei und werden entfernt.");
    std::string error;
    ASSERT_TRUE(ApplyImport(f.program(), result, true, &error)) << error;
    EXPECT_EQ(f.column(a, "Name, sernr, PNL"), "Neu|101|" + stationsWith({5}));  // no station columns: kept
    EXPECT_EQ(f.column(c, "Name"), "<no row>");

    // Windows-1252 with quoted semicolons and other headings; not asked to remove, the others stay.
    const std::string ansi =
        "Nachname;Vorname;Wohnung;Seriennummer;Zugangscode;PNL12\r\n"
        "\"M\xFC"
        "ller; Sohn\";J\xFCrgen\x96Paul;12;4711;42;x\r\n"  // 0x96: the en dash of Windows-1252
        "Stra\xDF"
        "er;\"Ren\xE9\";13;4712;;\r\n";
    result = PreviewImport(f.program(), ansi);
    EXPECT_EQ(result.encoding, "Windows-1252");
    ASSERT_EQ(result.rows.size(), 2u);
    EXPECT_EQ(previewLine(result.rows[0]),
              "Zeile 2: neu: Müller; Sohn, Jürgen–Paul (Wohnung 12, Seriennr. 4711)");
    ASSERT_TRUE(ApplyImport(f.program(), result, false, &error)) << error;
    EXPECT_EQ(f.rowCount(), 4);
    EXPECT_EQ(f.column(b, "Name"), "Bleibt");
    EXPECT_EQ(f.first("SELECT count(*), Name, Vorname, Wnr, AUSLOESUNG, code, "
                      "PNL FROM BEWOHNER WHERE sernr = 4711"),
              "1|Müller; Sohn|Jürgen–Paul|12|,,000000|42|" + stationsWith({12}));
    EXPECT_EQ(f.inst.logTexts().size(), 4u);
}

TEST_F(OverviewTest, BadInputIsNamedAndChangesNothing) {
    f.addRow("Alt", "", "1", std::int64_t{100});
    const std::string header = "Name;Vorname;Wohnungsnr.;Seriennr. 1;Seriennr. 2;Code\r\n";
    const std::string good = header + "Gut;;5;500;;\r\n";
    std::string many = "Name;Wohnungsnr.;Seriennr. 1\n";
    for (int i = 0; i < 100000; ++i)
        many += "N;1;" + std::to_string(i % 999999 + 1) + "\n";
    // The file and what the file error or a bad row's line says of it.
    const std::pair<std::string, std::string> cases[] = {
        {std::string("PK\x03\x04\0\0binary", 12), "keine Textdatei"},
        {"", "leer"},
        {"Vorname;Wohnungsnr.;Seriennr. 1\r\nAnna;1;5\r\n", "\u201EName\u201C fehlt"},
        {"Name;Wohnungsnr.\r\nA;1\r\n", "\u201ESeriennr. 1\u201C fehlt"},
        {good + "X;;6;12a;;\r\n", "keine ganze Zahl von 1 bis 999999"},
        {good + "X;;6;1000000;;\r\n", "keine ganze Zahl von 1 bis 999999"},
        {good + "X;;6;0;;\r\n", "keine ganze Zahl von 1 bis 999999"},
        {good + "X;;6;7;;10000\r\n", "größer als 9999"},
        {good + "X;;6;500;;\r\n", "Zeile 3: Fehler: Die Seriennummer 1 500 steht schon in Zeile 2."},
        {good + "X|Y;;6;7;;\r\n", "senkrechten Strich"},
        {good + "\"X\nY\";;6;7;;\r\n", "Zeilenumbruch"},
        {good + ";Anna;6;7;;\r\n", "Der Name fehlt"},
        {good + "X;;A-12-3456;7;;\r\n", "länger als 8 Zeichen"},
        {good + "\"X\"Y;;6;7;;\r\n", "Anführungszeichen"},
        {many, "eingelesen werden höchstens"},
    };
    const std::string before = dump();
    for (const auto& [file, expected] : cases) {
        const ImportPreview result = PreviewImport(f.program(), file);
        std::string said = result.fileError;
        for (const ImportRow& r : result.rows)
            said += r.status == ImportStatus::Error ? previewLine(r) : "";
        EXPECT_NE(said.find(expected), std::string::npos) << said;
        std::string error;
        EXPECT_FALSE(ApplyImport(f.program(), result, true, &error));
        EXPECT_EQ(dump(), before) << expected;
    }
    // A name over 50 characters is cut with a note, not refused.
    const ImportPreview longName = PreviewImport(f.program(), header + std::string(60, 'L') + ";;6;7;;\r\n");
    ASSERT_TRUE(longName.importable());
    EXPECT_EQ(longName.rows[0].row.name, std::string(50, 'L'));
    EXPECT_NE(previewLine(longName.rows[0]).find("auf 50 Zeichen gekürzt"), std::string::npos);
}

// A file saved with its byte order mark twice reads; a column of a station that is not set up is named and
// imported only when the user agrees; a FIFO or a folder is refused at once; the window's export refuses the
// installation's own files.
TEST_F(OverviewTest, ImportWarnsOfUnknownStationsRefusesWhatIsNoFileAndExportSparesTheInstallation) {
    const auto a =
        f.addRow("Alt", "", "1", std::int64_t{100}, ",,000000", std::int64_t{0}, stationsWith({0}));
    const std::string bom = "\xEF\xBB\xBF";
    const ImportPreview twice =
        PreviewImport(f.program(), bom + bom + "Name;Wohnung;Seriennummer\r\nNeu;2;200\r\n");
    EXPECT_EQ(twice.fileError, "");
    EXPECT_EQ(twice.count(ImportStatus::New), 1);

    OverviewPageForm form;
    OverviewPage page(f.program(), form);
    page.Open();
    const std::string before = dump();
    const ImportPreview unknown =
        PreviewImport(f.program(), "ID;Name;Wohnung;Seriennummer;PNL00 Haupteingang;PNL40 Keller\r\n" +
                                       std::to_string(a) + ";Alt;1;100;x;x\r\n");
    EXPECT_EQ(unknown.unknownStationColumns, std::vector<std::string>{"PNL40 Keller"});
    EXPECT_NE(previewSummary(unknown, false)
                  .find("Die Spalte \u201EPNL40 Keller\u201C gehört zu keiner angelegten PNL."),
              std::string::npos);
    f.inst.dialogs.answer(MsgAnswer::No);
    EXPECT_FALSE(page.Import(unknown, false));
    ASSERT_EQ(f.inst.dialogs.shown.size(), 1u);
    EXPECT_EQ(f.inst.dialogs.last().defaultAnswer, MsgAnswer::No);
    EXPECT_EQ(dump(), before);
    f.inst.dialogs.answer(MsgAnswer::Yes);
    EXPECT_TRUE(page.Import(unknown, false));
    EXPECT_EQ(f.column(a, "PNL"), stationsWith({0, 40}));

    ASSERT_EQ(::mkfifo(f.inst.path("pipe").c_str(), 0600), 0);
    std::filesystem::create_directory(f.inst.path("ordner"));
    for (const char* name : {"pipe", "ordner"})
        EXPECT_NE(PreviewImportFile(f.program(), f.inst.path(name)).fileError.find("keine gewöhnliche Datei"),
                  std::string::npos)
            << name;

    f.inst.writeFile(kDatabaseFile, "die Datenbank");
    page.Export(f.inst.path(kDatabaseFile));
    EXPECT_NE(f.inst.dialogs.last().text.find("QBXDATA.MDB gehört zur Anlage"), std::string::npos);
    EXPECT_EQ(f.inst.readFile(kDatabaseFile), "die Datenbank");
}

}  // namespace
}  // namespace pnl::test
