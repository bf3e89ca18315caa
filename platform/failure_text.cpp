#include "platform/failure_text.h"

#include <errno.h>
#include <sqlite3.h>

namespace pnl {

constexpr const char* kHeldByAnotherProgram = "Die Datenbank wird von einem anderen Programm benutzt.";
constexpr const char* kNoSpace = "Auf dem Datenträger ist kein Platz mehr.";
constexpr const char* kDamaged = "Die Datei ist beschädigt.";

std::string systemFailureText(int errnoValue) {
    switch (errnoValue) {
        case ENOSPC:
        case EDQUOT:
            return kNoSpace;
        case EACCES:
        case EPERM:
            return "Keine Zugriffsrechte.";
        case EROFS:
            return "Der Datenträger ist schreibgeschützt.";
        case ENOENT:
        case ENOTDIR:
            return "Die Datei oder ihr Ordner fehlt.";
        case EISDIR:
            return "An dieser Stelle liegt ein Ordner statt einer Datei.";
        case EEXIST:
            return "Die Datei ist bereits vorhanden.";
        case EBUSY:
        case ETXTBSY:
            return "Die Datei wird von einem anderen Programm benutzt.";
        case EIO:
            return "Der Datenträger meldet einen Lese- oder Schreibfehler.";
        case ENOMEM:
            return "Der Arbeitsspeicher reicht nicht aus.";
        case EMFILE:
        case ENFILE:
            return "Es sind zu viele Dateien geöffnet.";
        case ELOOP:
            return "Die Datei ist eine Verknüpfung (symbolischer Link), der das Setup nicht folgt.";
        case ENAMETOOLONG:
            return "Der Dateiname ist zu lang.";
        case ENXIO:
        case ENODEV:
            return "Das Gerät ist nicht vorhanden.";
        default:
            return "Unbekannter Fehler des Betriebssystems (Nummer " + std::to_string(errnoValue) + ").";
    }
}

bool isDamagedDatabaseCode(int resultCode) {
    const int primary = resultCode & 0xFF;
    return primary == SQLITE_CORRUPT || primary == SQLITE_NOTADB;
}

bool isHeldDatabaseCode(int resultCode) {
    const int primary = resultCode & 0xFF;
    return primary == SQLITE_BUSY || primary == SQLITE_LOCKED;
}

std::string databaseFailureText(int resultCode) {
    // A program that ended while writing left its journal or log beside the file; only a run that may write
    // the file can undo it.
    switch (resultCode) {
        case SQLITE_CANTOPEN_SYMLINK:
            return systemFailureText(ELOOP);
        case SQLITE_READONLY_ROLLBACK:
            return "Ein anderes Programm wurde beendet, während es in die Datenbank schrieb; sein Journal "
                   "(Datei mit der Endung „-journal“) liegt noch neben ihr. Öffnen und schließen Sie die "
                   "Datenbank einmal mit jenem Programm, damit der unterbrochene Schreibvorgang "
                   "zurückgenommen "
                   "wird, und starten Sie dann erneut.";
        case SQLITE_READONLY_RECOVERY:
        case SQLITE_READONLY_CANTINIT:
        case SQLITE_READONLY_CANTLOCK:
            return "Ein anderes Programm wurde beendet, während es in die Datenbank schrieb; sein Protokoll "
                   "(Datei mit der Endung „-wal“) liegt noch neben ihr. Öffnen und schließen Sie die "
                   "Datenbank "
                   "einmal mit jenem Programm, damit das Protokoll eingespielt wird, und starten Sie dann "
                   "erneut.";
        default:
            break;
    }
    switch (resultCode & 0xFF) {
        case SQLITE_BUSY:
        case SQLITE_LOCKED:
            return kHeldByAnotherProgram;
        case SQLITE_CORRUPT:
            return kDamaged;
        case SQLITE_NOTADB:
            return "Die Datei ist keine Datenbank oder beschädigt.";
        case SQLITE_FULL:
            return kNoSpace;
        case SQLITE_READONLY:
        case SQLITE_PERM:
        case SQLITE_AUTH:
            return "Keine Schreibrechte für die Datenbank.";
        case SQLITE_CANTOPEN:
            return "Die Datei kann nicht geöffnet werden (sie fehlt, ist ein Ordner oder ohne "
                   "Zugriffsrechte).";
        case SQLITE_IOERR:
            return "Der Datenträger meldet einen Lese- oder Schreibfehler.";
        case SQLITE_NOMEM:
            return "Der Arbeitsspeicher reicht nicht aus.";
        case SQLITE_TOOBIG:
            return "Ein Wert ist zu groß für die Datenbank.";
        case SQLITE_CONSTRAINT:
            return "Die Datenbank lehnt den Wert ab (eine Regel der Tabelle ist verletzt).";
        case SQLITE_ERROR:
        case SQLITE_SCHEMA:
        case SQLITE_MISMATCH:
            return "Die Tabelle hat nicht den erwarteten Aufbau.";
        default:
            return "Unbekannter Datenbankfehler (Nummer " + std::to_string(resultCode) + ").";
    }
}

}  // namespace pnl
