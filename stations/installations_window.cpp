#include "stations/installations_window.h"

#include <algorithm>
#include <chrono>
#include <tuple>

#include "app/installation_folder.h"
#include "app/instance_lock.h"
#include "app/program.h"
#include "forms/installations_window.h"
#include "platform/user_settings.h"
#include "stations/station_state.h"

namespace pnl {
namespace {

constexpr const char* kTitle = "Anlagen";

// A folder as the list and the command line spell it may end in a slash.
std::string withoutTrailingSlash(std::string folder) {
    while (folder.size() > 1 && folder.back() == '/')
        folder.pop_back();
    return folder;
}

// The list's columns are split at tabs: a tab in a hand-made folder name must not move the cells.
std::string cell(std::string text) {
    std::replace(text.begin(), text.end(), '\t', ' ');
    return text;
}

std::string lastSentText(const InstallationSummary& summary) {
    const DateTime* latest = nullptr;
    for (const StationSummary& station : summary.stations) {
        const auto key = [](const DateTime& t) {
            return std::tie(t.year, t.month, t.day, t.hour, t.minute, t.second);
        };
        if (station.lastSent && (!latest || key(*latest) < key(*station.lastSent)))
            latest = &*station.lastSent;
    }
    if (latest)
        return germanDateTime(*latest);
    return summary.stations.empty() ? "" : "nie";
}

std::string stateText(const InstallationSummary& summary) {
    if (summary.missing)
        return "fehlt";
    if (!summary.problem.empty())
        return "nicht lesbar";
    if (summary.stations.empty())
        return "keine PNL";
    std::vector<std::string> words;
    if (summary.anyChanged())
        words.emplace_back("geändert");
    if (summary.anyIncomplete())
        words.emplace_back("unvollständig");
    if (std::any_of(summary.stations.begin(), summary.stations.end(),
                    [](const StationSummary& s) { return s.status == StationStatus::NeverSent; }))
        words.emplace_back("nie übertragen");
    std::string text;
    for (const std::string& word : words)
        text += (text.empty() ? "" : ", ") + word;
    return text.empty() ? "aktuell" : text;
}

}  // namespace

InstallationsWindowController::InstallationsWindowController(Program& program, InstallationsWindowForm& form,
                                                             UserSettings& settings)
    : program_(program), form_(form), settings_(settings) {}

InstallationsWindowController::~InstallationsWindowController() {
    stopReading();
}

bool InstallationsWindowController::isCurrent(const std::string& folder) const {
    return !program_.folder.empty() && withoutTrailingSlash(folder) == withoutTrailingSlash(program_.folder);
}

const InstallationsWindowController::Entry* InstallationsWindowController::chosen() const {
    const int index = form_.installationList.listIndex();
    return index >= 0 && index < static_cast<int>(entries_.size()) ? &entries_[index] : nullptr;
}

void InstallationsWindowController::load() {
    stopReading();
    entries_.clear();
    std::vector<std::string> lines;
    for (const std::string& folder : settings_.installations()) {
        Entry entry;
        entry.summary.folder = folder;
        entry.summary.building = folderName(folder);
        entries_.push_back(entry);
    }
    form_.installationList.setLines(std::vector<std::string>(entries_.size()));
    for (std::size_t i = 0; i < entries_.size(); ++i)
        showEntry(i);
    form_.search.setText("");
    showChosen();
    continueReading();
}

void InstallationsWindowController::showEntry(std::size_t index) {
    const Entry& entry = entries_[index];
    const InstallationSummary& summary = entry.summary;
    std::string building = summary.building + (isCurrent(summary.folder) ? " (geöffnet)" : "");
    std::vector<std::string> cells{building, "", "", "", "wird gelesen …", summary.folder};
    if (entry.read) {
        const bool counted = !summary.missing && summary.problem.empty();
        cells[1] = counted ? std::to_string(summary.residents) : "";
        cells[2] = summary.missing ? "" : std::to_string(summary.stations.size());
        cells[3] = summary.missing ? "" : lastSentText(summary);
        cells[4] = stateText(summary);
    }
    std::string line;
    for (const std::string& text : cells)
        line += (line.empty() ? "" : "\t") + cell(text);
    form_.installationList.setLine(static_cast<int>(index), line);
    if (static_cast<int>(index) == form_.installationList.listIndex())
        showChosen();
}

void InstallationsWindowController::entryChosen() {
    showChosen();
}

void InstallationsWindowController::showChosen() {
    const Entry* entry = chosen();
    const bool current = entry && isCurrent(entry->summary.folder);
    form_.open.setEnabled(entry && (current || !entry->read || !entry->summary.missing));
    form_.remove.setEnabled(entry && !current);
    if (!entry) {
        form_.details.setCaption("");
        return;
    }
    std::string details;
    if (!entry->read) {
        details = entry->summary.building + " – " + entry->summary.folder + " – wird gelesen …";
    } else {
        for (const std::string& line : summaryLines(entry->summary))
            details += (details.empty() ? "" : "\n") + line;
        if (entry->summary.missing)
            details +=
                "\nWird der Ordner nicht mehr gebraucht, nehmen Sie den Eintrag mit \"Entfernen\" aus der "
                "Liste.";
    }
    form_.details.setCaption(details);
}

void InstallationsWindowController::continueReading() {
    if (timer_ != 0)
        return;
    const bool unread = std::any_of(entries_.begin(), entries_.end(), [](const Entry& e) { return !e.read; });
    if (!unread) {
        showCount();
        return;
    }
    // One folder per turn of the event loop: the window answers between them.
    timer_ = program_.loop.startTimer(std::chrono::milliseconds(0), false, [this] {
        timer_ = 0;
        readNext();
    });
}

void InstallationsWindowController::stopReading() {
    if (timer_ == 0)
        return;
    program_.loop.stopTimer(timer_);
    timer_ = 0;
}

void InstallationsWindowController::readNext() {
    const auto next = std::find_if(entries_.begin(), entries_.end(), [](const Entry& e) { return !e.read; });
    if (next == entries_.end()) {
        showCount();
        return;
    }
    const auto index = static_cast<std::size_t>(next - entries_.begin());
    form_.status.setCaption("Lese Anlage " + std::to_string(index + 1) + " von " +
                            std::to_string(entries_.size()) + ": " + next->summary.folder + " …");
    // A program of its own on the folder: it reads the saved files, never the running program's copies.
    Program reader(Platform{program_.fs, program_.loop, program_.dialogs, program_.serial, program_.ports},
                   next->summary.folder);
    next->summary = SummarizeInstallation(reader);
    next->read = true;
    showEntry(index);
    continueReading();
}

void InstallationsWindowController::showCount() {
    const auto missing = std::count_if(entries_.begin(), entries_.end(),
                                       [](const Entry& e) { return e.read && e.summary.missing; });
    std::string text = entries_.size() == 1 ? "1 Anlage" : std::to_string(entries_.size()) + " Anlagen";
    if (entries_.empty())
        text = "Noch keine Anlage in der Liste. Fügen Sie den Ordner einer Anlage hinzu.";
    else if (missing > 0)
        text += ", davon " + std::to_string(missing) + (missing == 1 ? " fehlt" : " fehlen");
    form_.status.setCaption(text);
}

void InstallationsWindowController::open() {
    const Entry* entry = chosen();
    if (!entry)
        return;
    const std::string folder = entry->summary.folder;
    if (isCurrent(folder)) {
        close();
        return;
    }
    Program target(Platform{program_.fs, program_.loop, program_.dialogs, program_.serial, program_.ports},
                   folder);
    std::string refusal;
    if (!holdsInstallation(program_.fs, folder))
        refusal = noInstallationText(program_.fs, folder);
    else if (std::string holder; heldByAnotherRun(target, &holder))
        refusal = runningElsewhereText(folder, holder) + " Beenden Sie zuerst das andere Programm.";
    if (!refusal.empty()) {
        program_.msgBox(
            "Die Anlage " + entry->summary.building + " kann nicht geöffnet werden.\n\n" + refusal,
            MsgIcon::Exclamation, MsgButtons::Ok, kTitle);
        return;
    }
    // The exit question's box would otherwise let the reading go on under it.
    stopReading();
    if (seams.endRun && !seams.endRun()) {
        continueReading();
        return;
    }
    keepAsOpenedLast(folder);
    stopReading();
    form_.setVisible(false);
    if (seams.startOn)
        seams.startOn(folder);
}

void InstallationsWindowController::keepAsOpenedLast(const std::string& folder) {
    std::vector<std::string> folders = settings_.installations();
    std::erase(folders, folder);
    folders.insert(folders.begin(), folder);
    if (settings_.setLastFolder(folder) && settings_.setInstallations(folders))
        return;
    program_.msgBox("Die Anlage " + folder + " konnte nicht in " + settings_.location() +
                        " als zuletzt geöffnete vermerkt werden. Sie wird jetzt trotzdem geöffnet.",
                    MsgIcon::Exclamation, MsgButtons::Ok, kTitle);
}

bool InstallationsWindowController::keepList(const std::vector<std::string>& folders) {
    if (settings_.setInstallations(folders))
        return true;
    program_.msgBox("Die Liste der Anlagen kann nicht in " + settings_.location() +
                        " gespeichert werden; sie bleibt, wie sie war.",
                    MsgIcon::Exclamation, MsgButtons::Ok, kTitle);
    return false;
}

void InstallationsWindowController::addFolder(const std::string& picked) {
    const std::string folder = withoutTrailingSlash(picked);
    if (folder.empty())
        return;
    if (!holdsInstallation(program_.fs, folder)) {
        program_.msgBox("Der Ordner wird nicht aufgenommen.\n\n" + noInstallationText(program_.fs, folder),
                        MsgIcon::Exclamation, MsgButtons::Ok, kTitle);
        return;
    }
    const auto listed = std::find_if(entries_.begin(), entries_.end(), [&](const Entry& e) {
        return withoutTrailingSlash(e.summary.folder) == folder;
    });
    if (listed != entries_.end()) {
        form_.installationList.setListIndex(static_cast<int>(listed - entries_.begin()));
        showChosen();
        form_.status.setCaption("Schon in der Liste: " + folder);
        return;
    }
    std::vector<std::string> folders = settings_.installations();
    folders.push_back(folder);
    if (!keepList(folders))
        return;
    Entry entry;
    entry.summary.folder = folder;
    entry.summary.building = folderName(folder);
    entries_.push_back(entry);
    form_.installationList.addLine("");
    showEntry(entries_.size() - 1);
    form_.installationList.setListIndex(static_cast<int>(entries_.size()) - 1);
    showChosen();
    continueReading();
}

void InstallationsWindowController::remove() {
    const Entry* entry = chosen();
    if (!entry || isCurrent(entry->summary.folder))
        return;
    const std::string folder = entry->summary.folder;
    const std::string building = entry->summary.building;
    const MsgAnswer answer = program_.ask(Message{
        "Die Anlage " + building + " (" + folder +
            ") aus der Liste der Anlagen entfernen?\n\nDer Ordner und seine Dateien bleiben unverändert.",
        "Anlage entfernen", MsgIcon::Question, MsgButtons::YesNo, MsgAnswer::No});
    if (answer != MsgAnswer::Yes)
        return;
    std::vector<std::string> folders = settings_.installations();
    std::erase(folders, folder);
    if (!keepList(folders))
        return;
    const int index = form_.installationList.listIndex();
    entries_.erase(entries_.begin() + index);
    form_.installationList.removeLine(index);
    showChosen();
    form_.status.setCaption("Aus der Liste entfernt: " + building + " (" + folder + ")");
}

void InstallationsWindowController::close() {
    stopReading();
    form_.setVisible(false);
}

}  // namespace pnl
