#include "tools/station_sim/options.h"

namespace pnl::sim {

namespace {

// A decimal whole number from lo to hi.
std::optional<long> number(const std::string& text, long lo, long hi) {
    if (text.empty() || text.size() > 9 || text.find_first_not_of("0123456789") != std::string::npos)
        return std::nullopt;
    const long value = std::stol(text);
    if (value < lo || value > hi)
        return std::nullopt;
    return value;
}

std::optional<StationSetup> station(const std::string& text) {
    const auto colon = text.find(':');
    const auto serial = number(text.substr(0, colon), 0, 0xFFFFFF);
    if (!serial)
        return std::nullopt;
    StationSetup setup{static_cast<std::uint32_t>(*serial), Firmware::V3};
    if (colon == std::string::npos)
        return setup;
    const std::string firmware = text.substr(colon + 1);
    if (firmware == "27") {
        setup.firmware = Firmware::V27;
    } else if (firmware != "3") {
        return std::nullopt;
    }
    return setup;
}

}  // namespace

std::string toolUsage() {
    return "Aufruf: pnl-station-sim --station SERIENNR [OPTION]...\n"
           "Simuliert PNL-Stationen an einem Pseudo-Terminal.\n"
           "Die erste Ausgabezeile ist der Pfad des Terminals (für --port COMn=PFAD des Programms).\n"
           "\n"
           "  --station SERIENNR[:27|:3]  eine Station (mehrfach); :27 = ältere Firmware 2.7X\n"
           "  --late MS                   Abfrage MS Millisekunden später beantworten\n"
           "  --short | --long            Antwort mit 18 bzw. 20 statt 19 Zeichen\n"
           "  --wrong-star                anderes zweites Zeichen als \"*\"\n"
           "  --silent                    Abfrage nicht beantworten\n"
           "  --modem                     Stationen hinter einem Hayes-Modem\n"
           "  --number NUMMER=SERIENNR    unter NUMMER erreicht das Modem die Station (mehrfach)\n"
           "  --dial-prefix TEXT          Wählpräfix der Anlage (sonst jedes AT...D/DT/DP)\n"
           "  --carrier-delay MS          Verbindung MS Millisekunden nach dem Wählen (5000)\n"
           "  --link PFAD                 symbolischer Link auf das Terminal\n"
           "  --json DATEI                Verzeichnisse nach jedem Schlussrahmen als JSON\n"
           "  --exit-after-close N        nach N Schlussrahmen beenden\n"
           "\n"
           "Ein Pseudo-Terminal hat keine Modemleitungen: den Träger meldet das Werkzeug nur als Text.\n"
           "  --help                      diese Hilfe zeigen\n"
           "  --version                   die Version zeigen\n"
           "\n"
           "Ende mit SIGTERM oder SIGINT.\n"
           "Rückgabe: 0 alles in Ordnung, 1 fehlerhafte Rahmen oder Verzeichnisse gemeldet, 2 falsche\n"
           "Aufrufzeile oder kein Pseudo-Terminal.\n";
}

std::optional<ToolOptions> parseToolOptions(const std::vector<std::string>& args, std::string* error) {
    ToolOptions options;
    ModemSetup modem;
    bool withModem = false;
    const auto fail = [&](const std::string& text) -> std::optional<ToolOptions> {
        if (error)
            *error = text;
        return std::nullopt;
    };
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        const bool hasValue = i + 1 < args.size();
        const std::string value = hasValue ? args[i + 1] : std::string();
        const auto needsValue = [&]() {
            return arg == "--station" || arg == "--late" || arg == "--number" || arg == "--dial-prefix" ||
                   arg == "--carrier-delay" || arg == "--link" || arg == "--json" ||
                   arg == "--exit-after-close";
        };
        if (needsValue()) {
            if (!hasValue)
                return fail(arg + " braucht einen Wert.");
            ++i;
        }
        if (arg == "--help" || arg == "-h") {
            options.help = true;
        } else if (arg == "--version") {
            options.version = true;
        } else if (arg == "--station") {
            const auto setup = station(value);
            if (!setup)
                return fail("Ungültige Station \"" + value + "\" (SERIENNR, SERIENNR:27 oder SERIENNR:3).");
            options.setup.stations.push_back(*setup);
        } else if (arg == "--late") {
            const auto ms = number(value, 0, 600'000);
            if (!ms)
                return fail("Ungültige Verzögerung \"" + value + "\".");
            options.setup.answer.lateMs = static_cast<int>(*ms);
        } else if (arg == "--short") {
            options.setup.answer.length = AnswerSetup::Length::Short;
        } else if (arg == "--long") {
            options.setup.answer.length = AnswerSetup::Length::Long;
        } else if (arg == "--wrong-star") {
            options.setup.answer.wrongStar = true;
        } else if (arg == "--silent") {
            options.setup.answer.silent = true;
        } else if (arg == "--modem") {
            withModem = true;
        } else if (arg == "--number") {
            const auto eq = value.find('=');
            const auto serial =
                eq == std::string::npos ? std::nullopt : number(value.substr(eq + 1), 0, 0xFFFFFF);
            if (!serial || eq == 0)
                return fail("Ungültige Rufnummer \"" + value + "\" (NUMMER=SERIENNR).");
            modem.numbers[value.substr(0, eq)] = static_cast<std::uint32_t>(*serial);
            withModem = true;
        } else if (arg == "--dial-prefix") {
            modem.dialPrefix = value;
        } else if (arg == "--carrier-delay") {
            const auto ms = number(value, 0, 600'000);
            if (!ms)
                return fail("Ungültige Verzögerung \"" + value + "\".");
            modem.carrierDelayMs = static_cast<int>(*ms);
        } else if (arg == "--link") {
            options.link = value;
        } else if (arg == "--json") {
            options.jsonFile = value;
        } else if (arg == "--exit-after-close") {
            const auto n = number(value, 1, 1'000'000);
            if (!n)
                return fail("Ungültige Anzahl \"" + value + "\".");
            options.exitAfterCloses = static_cast<int>(*n);
        } else {
            return fail("Unbekannte Option \"" + arg + "\".");
        }
    }
    if (withModem)
        options.setup.modem = modem;
    if (options.setup.stations.empty() && !options.help && !options.version)
        return fail("Keine Station angegeben (--station SERIENNR).");
    return options;
}

}  // namespace pnl::sim
