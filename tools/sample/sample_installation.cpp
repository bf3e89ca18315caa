#include "tools/sample/sample_installation.h"

#include <memory>
#include <vector>

#include "app/program.h"
#include "app/text.h"
#include "platform/cipher.h"
#include "platform/database.h"
#include "platform/file_system.h"

namespace pnl {

namespace {

struct SampleResident {
    const char* anrede;
    const char* name;
    const char* firstName;
    const char* apartment;
    int serial;
    int secondSerial;      // 0: none
    int code;              // 0: none
    const char* stations;  // station numbers the resident is shown on, e.g. "01"
};

// Haus A is reached through the main entrance (station 0), Haus B through the side entrance (station 1); the
// car park (station 2) lists the residents with a parking space.
const SampleResident kResidents[] = {
    {"Frau", "Müller", "Anna", "A001", 100101, 200101, 1234, "02"},
    {"Herr", "Schäfer", "Jürgen", "A002", 100102, 200102, 0, "0"},
    {"Frau", "Weiß", "Gisela", "A003", 100103, 200103, 0, "0"},
    {"Herr", "Müller-Lüdenscheidt", "Heinz", "A004", 100104, 200104, 4711, "02"},
    {"Herr", "O'Neill", "Patrick", "A005", 100105, 200105, 0, "0"},
    {"Frau", "Özdemir", "Ayla", "A006", 100106, 200106, 0, "0"},
    {"Herr", "Größer", "Björn", "A007", 100107, 0, 0, "0"},
    {"Frau", "Jäger", "Käthe", "A008", 100108, 200108, 9, "02"},
    {"Herr", "Böhm", "Lutz", "A009", 100109, 200109, 0, "0"},
    {"Frau", "Krüger", "Dörte", "A010", 100110, 200110, 0, "0"},
    {"Herr", "Zöllner", "Günther", "A011", 100111, 200111, 0, "0"},
    {"Frau", "Straßer", "Maren", "A012", 100112, 200112, 2580, "0"},
    {"Herr", "Fuchs", "Thomas", "A013", 100113, 200113, 0, "02"},
    {"Frau", "Schröder", "Ute", "A014", 100114, 200114, 0, "0"},
    {"Herr", "Wagner", "Klaus", "A015", 100115, 200115, 0, "0"},
    {"Frau", "Becker", "Renate", "A016", 100116, 200116, 0, "0"},
    {"Herr", "Hoffmann", "Uwe", "A017", 100117, 200117, 0, "0"},
    {"Frau", "Schulz", "Brigitte", "A018", 100118, 200118, 0, "0"},
    {"Herr", "Koch", "Stefan", "A019", 100119, 200119, 0, "0"},
    {"Frau", "Richter", "Petra", "A020", 100120, 200120, 0, "02"},
    {"Herr", "Klein", "Andreas", "B001", 100201, 200201, 0, "1"},
    {"Frau", "Wolf", "Sabine", "B002", 100202, 200202, 0, "1"},
    {"Herr", "Neumann", "Michael", "B003", 100203, 200203, 0, "12"},
    {"Frau", "Schwarz", "Monika", "B004", 100204, 200204, 0, "1"},
    {"Herr", "Zimmermann", "Frank", "B005", 100205, 200205, 0, "1"},
    {"Frau", "Braun", "Heike", "B006", 100206, 200206, 3690, "12"},
    {"Herr", "Hofmann", "Peter", "B007", 100207, 200207, 0, "1"},
    {"Frau", "Hartmann", "Ingrid", "B008", 100208, 200208, 0, "1"},
    {"Herr", "Lange", "Dieter", "B009", 100209, 200209, 0, "1"},
    {"Frau", "Schmitt", "Karin", "B010", 100210, 200210, 0, "1"},
    {"Herr", "Werner", "Jörg", "B011", 100211, 200211, 0, "12"},
    {"Frau", "Krause", "Angelika", "B012", 100212, 200212, 0, "1"},
    {"Herr", "Meier", "Hans-Peter", "B013", 100213, 200213, 0, "1"},
    {"Frau", "Lehmann", "Elke", "B014", 100214, 200214, 0, "1"},
    {"Herr", "Schmid", "Rüdiger", "B015", 100215, 200215, 0, "1"},
    {"Frau", "Schulze", "Bärbel", "B016", 100216, 200216, 0, "1"},
    {"Herr", "Maier", "Jürgen", "B017", 100217, 200217, 0, "12"},
    {"Frau", "Köhler", "Silke", "B018", 100218, 200218, 0, "1"},
    {"Herr", "Herrmann", "Günter", "B019", 100219, 200219, 0, "1"},
    {"Frau", "König", "Gabriele", "B020", 100220, 200220, 0, "1"},
    // The caretaker's own entry: on every station, no first name.
    {"", "Hausmeister", "", "HM", 100300, 200300, 1111, "012"},
};

const char* const kBaseColumns =
    "ID INTEGER PRIMARY KEY AUTOINCREMENT, Name VARCHAR(50), Vorname VARCHAR(50), Wnr VARCHAR(8), "
    "sernr INTEGER, AUSLOESUNG VARCHAR(50), code INTEGER, Anrede VARCHAR(20), Klartext VARCHAR(100), "
    "Etage INTEGER, Haus VARCHAR(10), Telefon VARCHAR(30), Sprache VARCHAR(5) DEFAULT 'DE', "
    "Gruppe INTEGER DEFAULT 0, Aktiv VARCHAR(5) DEFAULT 'TRUE', Bemerkung TEXT";

std::string stationAssignment(const char* stations) {
    std::string assignment(64, '0');
    for (const char* s = stations; *s; ++s)
        assignment[static_cast<std::size_t>(*s - '0')] = '1';
    return assignment;
}

std::string settingsText() {
    const std::string crlf = "\r\n";
    // Windows-1252, as the visualisation program that shares the file reads it.
    std::string text =
        "; Anlage Lindenhof, Musterstra\xDF"
        "e 5 - Beispielinstallation" +
        crlf + crlf;
    text += "[Berechtigungen]" + crlf;
    for (const auto& level : kSampleLevels)
        text += "LEVEL" + std::to_string(level.level) + "=" +
                cEncrypt(std::string("TRUE,") + level.code + "," + level.kind, kCipherKey) + crlf;
    text += crlf + "[Schnittstellen]" + crlf + "COM1=30,FALSE" + crlf;
    text += crlf + "[PNLXXX]" + crlf;
    int n = 0;
    for (const char* station : kSampleStations)
        text += "PNL" + zeroPadded(n++, 2) + "=" + station + crlf;
    // A section of the visualisation program that shares the file; this program leaves it alone.
    text += crlf + "[Visualisierung]" + crlf + "Titel=Lindenhof" + crlf;
    return text;
}

bool fillDatabase(Database& db, bool assigned, std::string* error) {
    std::string columns = kBaseColumns;
    if (assigned)
        columns += ", PNL VARCHAR(100)";
    if (!db.exec("CREATE TABLE BEWOHNER (" + columns + ")", {}, error))
        return false;
    DatabaseTransaction transaction(db, DatabaseTransaction::Start::Deferred, error);
    if (!transaction.began())
        return false;
    for (const auto& r : kResidents) {
        const bool houseA = r.apartment[0] == 'A';
        const std::string klartext =
            std::string(r.anrede).empty() ? std::string(r.name) : std::string(r.anrede) + " " + r.name;
        std::vector<DbValue> values = {
            std::string(r.name),
            std::string(r.firstName),
            std::string(r.apartment),
            std::int64_t{r.serial},
            ",," + zeroPadded(r.secondSerial, 6),
            std::int64_t{r.code},
            std::string(r.anrede),
            klartext,
            std::int64_t{leadingNumber(r.apartment + 1) % 5},
            std::string(houseA ? "A" : "B"),
            std::string(),
        };
        std::string sql =
            "INSERT INTO BEWOHNER (Name, Vorname, Wnr, sernr, AUSLOESUNG, code, Anrede, Klartext, Etage, "
            "Haus, "
            "Telefon";
        std::string marks = "?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?";
        if (assigned) {
            sql += ", PNL";
            marks += ", ?";
            values.push_back(stationAssignment(r.stations));
        }
        if (!db.exec(sql + ") VALUES (" + marks + ")", values, error))
            return false;
    }
    return transaction.commit(error);
}

}  // namespace

bool writeSampleInstallation(const std::string& folder, std::string* error, bool assigned) {
    SampleOptions options;
    options.assigned = assigned;
    return writeSampleInstallation(folder, error, options);
}

bool writeSampleInstallation(const std::string& folder, std::string* error, const SampleOptions& options) {
    auto fail = [error](const std::string& text) {
        if (error)
            *error = text;
        return false;
    };
    PosixFileSystem fs;
    if (!fs.createFolder(folder))
        return fail("Ordner " + folder + " kann nicht angelegt werden!");
    const std::string database = folder + "/" + kDatabaseFile;
    const std::string settings = folder + "/" + kSettingsFile;
    if (!options.overwrite && (fs.fileExists(database) || fs.fileExists(settings)))
        return fail("In " + folder + " liegt bereits eine Installation; sie wird nicht überschrieben.");

    // The database is built under a name of its own and then copied into place as a whole.
    const std::string staging = folder + "/QBXDATA_SAMPLE.tmp";
    fs.deleteFile(staging);
    std::string why;
    {
        const auto db = Database::create(staging, &why);
        if (!db)
            return fail("Datenbank kann nicht angelegt werden: " + why);
        if (!fillDatabase(*db, options.assigned, &why)) {
            fs.deleteFile(staging);
            return fail("Datenbank kann nicht gefüllt werden: " + why);
        }
    }
    const bool copied = fs.copyFile(staging, database);
    fs.deleteFile(staging);
    if (!copied)
        return fail(std::string(kDatabaseFile) + " kann nicht geschrieben werden!");
    if (!fs.writeFileAtomic(settings, settingsText()))
        return fail(std::string(kSettingsFile) + " kann nicht geschrieben werden!");
    return true;
}

SampleWritten writeFirstStartSample(const std::string& folder) {
    std::string error;
    SampleOptions options;
    options.assigned = true;
    if (!writeSampleInstallation(folder, &error, options))
        return {false, "Die Beispielinstallation wurde nicht angelegt: " + error};
    std::string codes;
    for (const SampleLevel& level : kSampleLevels)
        codes += "\nLevel " + std::to_string(level.level) + ": " + level.code;
    return {true, "Die Beispielinstallation liegt in\n" + folder +
                      ".\n\nIhre Zugangscodes (Level 5 hat alle Rechte):" + codes};
}

}  // namespace pnl
