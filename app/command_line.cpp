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
        if (name == "--dry-run" && !hasValue) {
            line.dryRun = true;
            continue;
        }
        const bool takesValue = name == "--folder" || name == "--port" || name == "--probe" ||
                                name == "--transfer" || name == "--export" || name == "--import";
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
            if (value.empty())
                line.errors.push_back("Option --folder ohne Ordner");
            else
                line.folder = folderPath(value);
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
    if (line.dryRun && !line.importFile)
        line.errors.push_back("Option --dry-run nur zusammen mit --import");
    for (std::size_t i = 0; i < rest.size(); ++i)
        line.levelText += (i ? " " : "") + rest[i];
    return line;
}

int levelFromCommandLine(const std::string& text) {
    if (text.empty())
        return 0;
    // Only the whole-number part counts: "6.6" stays level 6 and can never become a seventh level.
    const std::int64_t value = leadingNumber(text);
    return value > 0 && value < 7 ? static_cast<int>(value) : 0;
}

}  // namespace pnl
