#include "interfaces/interface_save.h"

#include "app/event_log.h"
#include "app/program.h"
#include "app/text.h"
#include "forms/interface_window.h"
#include "link/interface_record.h"

namespace pnl {

namespace {

constexpr const char* kSaveErrorTitle = "Schnittstellen Fehler";

// A comma would shift every later field of the record and a line break would split it: the field is refused
// by name. Returns the message, or nothing when the text may be stored.
std::string textFailure(const Program& program, const std::string& text, const std::string& fieldName) {
    // The settings file keeps its encoding (the other program reads it as Windows-1252).
    if (const auto character = program.settings.firstUnstorable(text))
        return "Im " + fieldName + " ist das Zeichen „" + *character +
               "“ enthalten, das ANLAGE99.INI nicht speichern kann!";
    if (text.find(',') != std::string::npos)
        return "Im " + fieldName + " dürfen keine Kommas enthalten sein!";
    if (text.find_first_of("\r\n") != std::string::npos)
        return "Im " + fieldName + " dürfen keine Zeilenumbrüche enthalten sein!";
    return {};
}

void refuse(Program& program, const std::string& message) {
    program.msgBox(message, MsgIcon::Exclamation, MsgButtons::Ok, kSaveErrorTitle);
}

}  // namespace

void SaveInterface(Program& program, InterfaceWindowForm& form) {
    const int entry = form.deviceKind.listIndex();
    if (entry < 0)
        return;
    const std::string port = form.portChoice.text();
    const int portNumber = portNumberOf(port);
    // Only COM1 to COM8 are ever written.
    if (portNumber == 0)
        return;
    program.settings.setSection(kInterfaceSection);
    const int kind = form.deviceKind.itemData(entry);
    // Logged before the rule: a refused save is logged as well.
    EventLog(program, "Schnittstelle " + form.deviceKind.text() + " geaendert");

    InterfaceRecord record;
    record.kind = kind;
    if (kind == kStationLink) {
        if (CountPortsOfKind(program, kStationLink, portNumber) >= 1) {
            refuse(program, "Es darf nur eine Schnittstelle für den PNL Datenabgleich konfiguriert sein.");
            return;
        }
        if (form.viaModem.checked()) {
            const std::string init1 = trim(form.initString1.text());
            const std::string init2 = trim(form.initString2.text());
            const std::string dialPrefix = trim(form.dialPrefix.text());
            for (const auto& [text, name] :
                 {std::pair{init1, "1. Initialisierungsstring"},
                  std::pair{init2, "2. Initialisierungsstring"}, std::pair{dialPrefix, "Anwahlpräfix"}}) {
                if (const std::string failure = textFailure(program, text, name); !failure.empty()) {
                    refuse(program, failure);
                    return;
                }
            }
            record.modem = true;
            record.init1 = init1;
            record.init2 = init2;
            record.dialPrefix = dialPrefix;
        }
    } else if (kind != kNoDevice) {
        return;
    }
    program.settings.setSection(kInterfaceSection);
    program.settings.setKey(port);
    if (!program.settings.write(formatInterfaceRecord(record)))
        program.msgBox("Die Schnittstelleneinstellung konnte nicht gespeichert werden!", MsgIcon::Critical);
}

}  // namespace pnl
