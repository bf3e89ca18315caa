#include "app/level_editor.h"

#include <string>

#include "app/event_log.h"
#include "app/program.h"
#include "app/records.h"
#include "app/text.h"
#include "forms/fr_levels.h"

namespace pnl {

namespace {

constexpr std::int64_t kHighestCode = 999999;
constexpr int kHighestLevel = 6;

}  // namespace

LevelEditor::LevelEditor(Program& program, FrLevelsControls& form) : program_(program), form_(form) {}

void LevelEditor::Reset() {
    form_.CboLVBez.setListIndex(-1);
    form_.SSTabLV.setTab(0);
}

void LevelEditor::CboLVBez_Click() {
    if (form_.CboLVBez.text().empty())
        return;
    const int index = form_.CboLVBez.listIndex();
    selectLevelRecord(program_.InitX, index + 1);
    FieldOf(program_, readEncrypted(program_.InitX));
    const std::string released = program_.FieldTable[0];
    const std::string code = program_.FieldTable[1];
    const std::string kind = upper(program_.FieldTable[2]);

    form_.ChkLVEn.setEnabled(index != 0);
    form_.SSTabLV.setTab(0);
    form_.ChkLVEn.setChecked(upper(released) == "TRUE" || !form_.ChkLVEn.enabled());
    // A code the six-digit field cannot hold (too long, not digits) shows as the empty mask, never as the
    // code of the level shown before.
    if (code.empty() || leadingNumber(code) > kHighestCode || !form_.TxtLVCode.setText(code))
        form_.TxtLVCode.clear();
    if (kind == "P")
        form_.OptLVPwd.setChecked(true);
    else if (kind == "A")
        form_.OptLVAll.setChecked(true);
    else if (kind == "B")
        form_.OptLVBewo.setChecked(true);
}

void LevelEditor::TxtLVCode_GotFocus() {
    form_.TxtLVCode.setSelStart(0);
}

void LevelEditor::CmdLVSave_Click() {
    if (form_.CboLVBez.text().empty())
        return;
    const bool released = form_.ChkLVEn.checked();
    if (released && !hasDigit(form_.TxtLVCode.text())) {
        program_.msgBox("Bitte geben Sie einen Code ein.", MsgIcon::Exclamation);
        return;
    }
    const std::string code = trim(form_.TxtLVCode.text());
    const int level = form_.CboLVBez.listIndex() + 1;
    if (released) {
        if (const int other = levelWithCode(code, level); other != 0) {
            program_.msgBox("Dieser Code gehört bereits zu \"" + levelName(other) +
                                "\". Jede Berechtigungsstufe braucht ihren eigenen Code.",
                            MsgIcon::Exclamation);
            return;
        }
    }
    std::string record = released ? "TRUE," + code + "," : "FALSE,,";
    record += form_.OptLVPwd.checked() ? "P" : form_.OptLVAll.checked() ? "A" : "B";

    // The key is chosen again here: another editor may have used the shared settings access since the level
    // was chosen, and the record must not land under its key.
    selectLevelRecord(program_.InitX, level);
    if (!writeEncrypted(program_.InitX, record)) {
        program_.msgBox("Die Berechtigungsstufe konnte nicht gespeichert werden!", MsgIcon::Critical);
        return;
    }
    EventLog(program_, "Berechtigungen " + form_.CboLVBez.text() + " geaendert.");
    program_.notify("Gespeichert: " + form_.CboLVBez.text());
}

int LevelEditor::levelWithCode(const std::string& code, int except) {
    // The lowest level with a code wins at the password dialog: a second level with the same code could
    // never be entered, and the code would log in at the other level.
    for (int level = 1; level <= kHighestLevel; ++level) {
        if (level == except)
            continue;
        selectLevelRecord(program_.InitX, level);
        FieldOf(program_, readEncrypted(program_.InitX));
        if (upper(program_.FieldTable[0]) == "TRUE" && program_.FieldTable[1] == code)
            return level;
    }
    return 0;
}

std::string LevelEditor::levelName(int level) const {
    return level <= form_.CboLVBez.count() ? form_.CboLVBez.items()[level - 1].text
                                           : "Level " + std::to_string(level);
}

}  // namespace pnl
