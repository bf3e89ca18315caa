#include "app/level_editor.h"

#include <string>

#include "app/event_log.h"
#include "app/program.h"
#include "app/records.h"
#include "app/text.h"
#include "forms/levels_page.h"

namespace pnl {

namespace {

constexpr std::int64_t kHighestCode = 999999;
constexpr int kHighestLevel = 6;

}  // namespace

LevelEditor::LevelEditor(Program& program, LevelsPageForm& form) : program_(program), form_(form) {}

void LevelEditor::Reset() {
    form_.levelChoice.setListIndex(-1);
    form_.levelTabs.setTab(0);
    shownLevel_ = 0;
}

void LevelEditor::levelChosen() {
    const int index = form_.levelChoice.listIndex();
    if (shownLevel_ != 0 && index != shownLevel_ - 1 && hasUnsavedChanges()) {
        // While the question is open the list names the level still in the form.
        form_.levelChoice.setListIndex(shownLevel_ - 1);
        if (!leaveLevel())
            return;
        form_.levelChoice.setListIndex(index);
    }
    if (form_.levelChoice.text().empty())
        return;
    const LevelRecord record = readLevelRecord(program_.settings, index + 1);
    const std::string& code = record.code;
    const std::string& kind = record.kind;

    form_.levelEnabled.setEnabled(index != 0);
    form_.levelTabs.setTab(0);
    form_.levelEnabled.setChecked(record.enabledAnyCase() || !form_.levelEnabled.enabled());
    // A code the six-digit field cannot hold (too long, not digits) shows as the empty mask, never as the
    // code of the level shown before.
    if (code.empty() || leadingNumber(code) > kHighestCode || !form_.levelCode.setText(code))
        form_.levelCode.clear();
    if (kind == "P")
        form_.kindAllWithLevels.setChecked(true);
    else if (kind == "A")
        form_.kindAll.setChecked(true);
    else if (kind == "B")
        form_.kindResidents.setChecked(true);
    shownLevel_ = index + 1;
    shownRecord_ = formatLevelRecord(formRecord());
}

LevelRecord LevelEditor::formRecord() const {
    return {form_.levelEnabled.checked() ? "TRUE" : "FALSE", trim(form_.levelCode.text()),
            form_.kindAllWithLevels.checked() ? "P"
            : form_.kindAll.checked()         ? "A"
                                              : "B"};
}

bool LevelEditor::hasUnsavedChanges() const {
    return shownLevel_ != 0 && formatLevelRecord(formRecord()) != shownRecord_;
}

bool LevelEditor::leaveLevel() {
    if (!hasUnsavedChanges())
        return true;
    switch (program_.ask({"Sollen die Änderungen an \"" + levelName(shownLevel_) + "\" gesichert werden?",
                          "Berechtigungen", MsgIcon::Question, MsgButtons::YesNoCancel})) {
        case MsgAnswer::Yes:
            return saveShown();
        case MsgAnswer::No:
            return true;
        case MsgAnswer::Ok:
        case MsgAnswer::Cancel:
            break;
    }
    return false;
}

void LevelEditor::levelCodeFocused() {
    form_.levelCode.setSelStart(0);
}

void LevelEditor::save() {
    if (!form_.levelChoice.text().empty())
        saveShown();
}

bool LevelEditor::saveShown() {
    if (shownLevel_ == 0)
        return false;
    const bool released = form_.levelEnabled.checked();
    if (released && !hasDigit(form_.levelCode.text())) {
        program_.msgBox("Bitte geben Sie einen Code ein.", MsgIcon::Exclamation);
        return false;
    }
    const std::string code = trim(form_.levelCode.text());
    const int level = shownLevel_;
    if (released) {
        if (const int other = levelWithCode(code, level); other != 0) {
            program_.msgBox("Dieser Code gehört bereits zu \"" + levelName(other) +
                                "\". Jede Berechtigungsstufe braucht ihren eigenen Code.",
                            MsgIcon::Exclamation);
            return false;
        }
    }
    const LevelRecord record = formRecord();
    // The key is chosen again here: another editor may have used the shared settings access since the level
    // was chosen, and the record must not land under its key.
    if (!writeLevelRecord(program_.settings, level, record)) {
        program_.msgBox("Die Berechtigungsstufe konnte nicht gespeichert werden!", MsgIcon::Critical);
        return false;
    }
    shownRecord_ = formatLevelRecord(record);
    EventLog(program_, "Berechtigungen " + levelName(level) + " geaendert.");
    program_.notify("Gespeichert: " + levelName(level));
    return true;
}

int LevelEditor::levelWithCode(const std::string& code, int except) {
    // The lowest level with a code wins at the password dialog: a second level with the same code could
    // never be entered, and the code would log in at the other level.
    for (int level = 1; level <= kHighestLevel; ++level) {
        if (level == except)
            continue;
        const LevelRecord record = readLevelRecord(program_.settings, level);
        if (record.enabledAnyCase() && record.code == code)
            return level;
    }
    return 0;
}

std::string LevelEditor::levelName(int level) const {
    return level <= form_.levelChoice.count() ? form_.levelChoice.items()[level - 1].text
                                              : "Level " + std::to_string(level);
}

}  // namespace pnl
