#pragma once
// A test installation for the resident page: the database working copy with table BEWOHNER (the program's
// 17-column form unless a test gives another), a settings working copy with labelled stations, the shared
// resident cursor, the page's controls and the editor on them.

#include <memory>
#include <string>
#include <vector>

#include "forms/fr_bewo.h"
#include "platform/database.h"
#include "residents/resident_editor.h"
#include "residents/resident_table.h"
#include "support/installation.h"

namespace pnl::test {

// The base form of 16 columns plus the station assignment PNL.
inline constexpr const char* kResidentSchema =
    "CREATE TABLE BEWOHNER (ID INTEGER PRIMARY KEY AUTOINCREMENT, Name VARCHAR(50), Vorname VARCHAR(50), "
    "Wnr VARCHAR(8), sernr INTEGER, AUSLOESUNG VARCHAR(50), code INTEGER, Anrede TEXT, Klartext TEXT, "
    "Etage TEXT, Haus TEXT, Telefon TEXT, Sprache TEXT, Gruppe TEXT, Aktiv INTEGER DEFAULT 1, "
    "Bemerkung TEXT DEFAULT 'frei', PNL VARCHAR(100))";

// Stations 0, 5, 12 and 63 carry labels; station 7 is in use without a label.
inline constexpr const char* kStations =
    "PNL00=PNL-B,Haupteingang,012345,,FALSE\n"
    "PNL05=PNL-A,Nebeneingang,023456,,TRUE\n"
    "PNL07=PNL-B,,000777,,FALSE\n"
    "PNL12=PNL-C,Tiefgarage,034567,,FALSE\n"
    "PNL63=PNL-K,Hof,045678,,FALSE\n";

struct ResidentFixture {
    explicit ResidentFixture(const std::string& schema = kResidentSchema,
                             const std::string& stations = kStations);

    Program& program() { return *inst.program; }
    Database& db() { return *program().DataBewo; }
    ResidentTable& table() { return *program().residents; }

    // Adds a row behind the program's back (as another program would); returns its ID.
    std::int64_t addRow(const std::string& name, const std::string& firstName, const std::string& apartment,
                        DbValue serial, const std::string& trigger = ",,000000",
                        DbValue code = std::int64_t{0}, const std::string& stations = std::string(64, '0'));
    // A column of the row with that ID as the database holds it ("" for NULL).
    std::string column(std::int64_t id, const std::string& name);
    std::int64_t rowCount();

    // The list's entry texts, in list order.
    std::vector<std::string> entries() const;
    // Chooses the n-th entry with that text and clicks it, as the user does.
    void choose(const std::string& text, int nth = 0);
    void type(const std::string& name, const std::string& firstName, const std::string& apartment,
              const std::string& serial, const std::string& secondSerial = "", const std::string& code = "");
    // The texts of the day's log lines, decrypted, without their time.
    std::vector<std::string> logTexts() const;

    Installation inst;
    FrBewoControls form;
    ResidentEditor editor{*inst.program, form};
};

}  // namespace pnl::test
