#include "app/command_line.h"

#include "app/text.h"

namespace pnl {

namespace {

// A folder as given, without trailing slashes (file paths are the folder, a slash and the name).
std::string folderPath(std::string folder) {
    while (folder.size() > 1 && folder.back() == '/')
        folder.pop_back();
    return folder;
}

}  // namespace

CommandLine CommandLine::parse(const std::vector<std::string>& args, const std::string& executableFolder) {
    CommandLine line;
    line.folder = folderPath(executableFolder);
    std::vector<std::string> rest;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        // Anything that does not start with "--" belongs to the level text ("-1" included).
        if (arg.rfind("--", 0) != 0) {
            rest.push_back(arg);
            continue;
        }
        std::string name = arg, value;
        bool hasValue = false;
        if (const auto eq = arg.find('='); eq != std::string::npos) {
            name = arg.substr(0, eq);
            value = arg.substr(eq + 1);
            hasValue = true;
        }
        if (arg == "--help" || arg == "--version") {
            (arg == "--help" ? line.help : line.version) = true;
            continue;
        }
        if (arg == "--list-ports") {
            line.listPorts = true;
            continue;
        }
        if (arg == "--list-installations") {
            line.listInstallations = true;
            continue;
        }
        if (arg == "--folders") {
            // Every following argument up to the next option is a folder or a list file; a number is the
            // level (a folder named by a number is given as "./5").
            const std::size_t first = i + 1;
            while (i + 1 < args.size() && args[i + 1].rfind("--", 0) != 0 && !allDigits(args[i + 1]))
                line.folders.push_back(folderPath(args[++i]));
            if (i + 1 == first)
                line.errors.push_back("Option --folders ohne Ordner oder Liste");
            continue;
        }
        if (arg == "--dry-run" || arg == "--check") {
            (arg == "--dry-run" ? line.dryRun : line.checkPresence) = true;
            continue;
        }
        const bool takesValue = name == "--folder" || name == "--port" || name == "--probe" ||
                                name == "--transfer" || name == "--export" || name == "--import" ||
                                name == "--report";
        if (!takesValue) {
            line.errors.push_back("Unbekannte Option: " + arg);
            continue;
        }
        if (!hasValue) {
            if (i + 1 >= args.size() || args[i + 1].rfind("--", 0) == 0) {
                line.errors.push_back("Option " + name + " ohne Wert");
                continue;
            }
            value = args[++i];
        }
        if (name == "--folder") {
            if (value.empty()) {
                line.errors.push_back("Option --folder ohne Ordner");
            } else {
                line.folder = folderPath(value);
                line.folderGiven = true;
            }
        } else if (name == "--port") {
            if (const auto mapping = PortMap::parseMapping(value))
                line.ports.map(mapping->first, mapping->second);
            else
                line.errors.push_back("Ungültige Portzuordnung \"" + value +
                                      "\" (erwartet: COMn=PFAD, n = 1 bis 8)");
        } else if (name == "--probe") {
            if (value.empty())
                line.errors.push_back("Option --probe ohne Stationsnummer");
            else
                line.probe = value;
        } else if (name == "--report") {
            if (value.empty())
                line.errors.push_back("Option --report ohne Datei");
            else
                line.reportFile = value;
        } else if (name == "--export" || name == "--import") {
            if (value.empty())
                line.errors.push_back("Option " + name + " ohne Datei");
            else
                (name == "--export" ? line.exportFile : line.importFile) = value;
        } else {
            if (value.empty())
                line.errors.push_back("Option --transfer ohne Stationen");
            else
                line.transfer = value;
        }
    }
    const int commands = (line.listPorts ? 1 : 0) + (line.probe ? 1 : 0) + (line.transfer ? 1 : 0) +
                         (line.exportFile ? 1 : 0) + (line.importFile ? 1 : 0);
    if (commands > 1)
        line.errors.push_back(
            "Nur eine der Optionen --list-ports, --probe, --transfer, --export und --import");
    if (line.dryRun && !line.importFile && !line.transfer)
        line.errors.push_back("Option --dry-run nur zusammen mit --transfer oder --import");
    if (line.checkPresence && !line.transfer)
        line.errors.push_back("Option --check nur zusammen mit --transfer");
    if (!line.folders.empty() && !line.transfer)
        line.errors.push_back("Option --folders nur zusammen mit --transfer");
    if (!line.folders.empty() && (line.folderGiven || line.probe || line.exportFile || line.importFile))
        line.errors.push_back(
            "Option --folders nicht zusammen mit --folder, --probe, --export oder --import");
    if (line.reportFile && line.folders.empty())
        line.errors.push_back("Option --report nur zusammen mit --folders");
    for (std::size_t i = 0; i < rest.size(); ++i)
        line.levelText += (i ? " " : "") + rest[i];
    return line;
}

std::string commandLineHelp() {
    return "Aufruf: pnl-setup [--folder ORDNER] [--port COMn=GERÄT]... [LEVEL]\n"
           "  oder: pnl-setup [--port COMn=GERÄT]... --list-ports\n"
           "  oder: pnl-setup [--folder ORDNER] [--port COMn=GERÄT]... --probe N [LEVEL]\n"
           "  oder: pnl-setup [--folder ORDNER] [--port COMn=GERÄT]... --transfer LISTE [--dry-run] [--check]"
           " [LEVEL]\n"
           "  oder: pnl-setup [--folder ORDNER] --export DATEI [LEVEL]\n"
           "  oder: pnl-setup [--folder ORDNER] --import DATEI [--dry-run] [LEVEL]\n"
           "Einrichtung und Fernwartung der Display-Türstationen (PNL). Ohne --list-ports, --probe,\n"
           "--transfer, --export und --import öffnet sich das Fenster.\n"
           "\n"
           "  --folder ORDNER      der Installationsordner (mit ANLAGE99.INI und QBXDATA.MDB). Ohne die "
           "Option:\n"
           "                       der Ordner des Programms, wenn dort ANLAGE99.INI liegt, sonst der "
           "zuletzt\n"
           "                       gewählte Ordner; beim ersten Start fragt das Programm danach.\n"
           "  --port COMn=GERÄT    die Schnittstelle COMn (n = 1 bis 8) ist für diesen Lauf GERÄT, z. B.\n"
           "                       COM1=/dev/ttyUSB0 (mehrfach; sonst das im Fenster „Schnittstellen“\n"
           "                       gewählte Gerät, ohne Wahl /dev/ttyS(n-1))\n"
           "  --list-ports         die Schnittstellen mit ihren Geräten und alle seriellen Geräte des PCs\n"
           "                       zeigen (Hersteller, Produkt, Seriennummer, USB-Kennung, stabiler Pfad)\n"
           "  --probe N            die Station N der Stationsliste (0 bis 63) testen, ohne Fenster\n"
           "  --transfer LISTE     den Stationen der LISTE ihre Bewohner übertragen, ohne Fenster. LISTE:\n"
           "                       Nummern 0 bis 63 mit Komma getrennt, all (jede Station mit Bezeichnung)\n"
           "                       oder changed (jede Station, deren Stand von dem abweicht, was sie jetzt\n"
           "                       erhielte; nie gesendete und unvollständige eingeschlossen)\n"
           "  --check              mit --transfer: jede Station an direkter Leitung vor dem Senden fragen,\n"
           "                       ob sie antwortet; eine, die nicht antwortet, erhält nichts\n"
           "  --dry-run            mit --transfer: Stand und Unterschiede jeder gewählten Station zeigen,\n"
           "                       nichts senden; mit --import: nur die Vorschau zeigen, nichts ändern\n"
           "  --export DATEI       alle Bewohner als CSV-Datei (Semikolon, UTF-8) schreiben, ohne Fenster\n"
           "  --import DATEI       Bewohner aus einer CSV-Datei einlesen und sichern, ohne Fenster\n"
           "  --folders ORDNER|LISTE...\n"
           "                       mit --transfer: die Übertragung für jeden Installationsordner "
           "nacheinander\n"
           "                       (eine LISTE ist eine Datei mit einem Ordner je Zeile, z. B. die Liste "
           "der\n"
           "                       Anlagen ~/.config/pnl-fernwartung/anlagen); --port gilt für alle Ordner.\n"
           "                       Am Ende eine Übersicht je PNL. Ein Ordner, für den das Programm läuft, "
           "wird\n"
           "                       übersprungen. Rückgabe 2, wenn ein Ordner nicht laufen konnte.\n"
           "  --report DATEI       mit --folders: die Übersicht auch als CSV-Datei schreiben\n"
           "  --list-installations die Anlagen zeigen, die dieser Benutzer geöffnet hat, mit ihrem Stand\n"
           "  LEVEL                1 bis 6: ohne Abfrage des Zugangscodes mit diesem Level starten\n"
           "  --help               diese Hilfe zeigen\n"
           "  --version            die Version zeigen\n"
           "\n"
           "Serielle Geräte: Wer ein Gerät nicht öffnen darf, gehört nicht zu dessen Gruppe (meist "
           "dialout).\n"
           "Abhilfe: sudo usermod -aG dialout $USER eingeben, danach ab- und wieder anmelden.\n"
           "\n"
           "Rückgabe: 0 fertig (--probe: Station gefunden; --transfer: jeder Station wurden ihre Bewohner\n"
           "gesendet, oder sie hatte keine; --import mit --dry-run: die Datei ist einlesbar), 1 teilweise\n"
           "misslungen (--probe: Station nicht gefunden; --transfer: eine Station fehlgeschlagen oder ihr "
           "Stand\n"
           "nicht gespeichert; --import: die Datei hat Fehler oder eine Spalte einer nicht angelegten PNL,\n"
           "nichts geändert, oder das Protokoll war nicht schreibbar), 2 konnte nicht laufen (falsche\n"
           "Aufrufzeile, kein Installationsordner, das Programm läuft schon für den Ordner, keine "
           "Schnittstelle,\n"
           "der USB-Adapter ist nicht angeschlossen, kein Zugang).\n";
}

int levelFromCommandLine(const std::string& text) {
    if (text.empty())
        return 0;
    // Only the whole-number part counts: "6.6" stays level 6 and can never become a seventh level.
    const std::int64_t value = leadingNumber(text);
    return value > 0 && value < 7 ? static_cast<int>(value) : 0;
}

}  // namespace pnl
