#pragma once
// What a save of the resident page does, decided from values alone (the form's texts, the editor's row and
// what the table holds), so that the decision reads as one table: the refusal of an incomplete form, the log
// line, the question about a serial number that another row holds, and the write each answer leads to.

#include <optional>
#include <string>

#include "app/resident_table.h"
#include "platform/dialogs.h"

namespace pnl {

// The form's texts and the editor's row.
struct SaveInput {
    std::string name;                  // the surname as typed
    std::string apartment;             // as typed
    std::string serial, secondSerial;  // the digits typed in the serial-number fields
    bool secondSerialEmpty = true;
    // The first serial number and the ID of the row the form shows or that was inserted last; "keine" for a
    // new resident.
    std::string editorSerial, editorId;
};

// The serial number the save writes; valid once SaveRefusal gave nothing.
std::int64_t savedSerial(const SaveInput& input);

// The message that refuses an incomplete form, in the order the fields are checked; empty when the form may
// be saved.
std::string SaveRefusal(const SaveInput& input);

// What the table holds for the save.
struct SaveFacts {
    // A row has the editor's ID.
    bool editorRowExists = false;
    // The first row in table order with the saved serial number.
    std::optional<Resident> serialHolder;
};

enum class SaveWrite { Nothing, UpdateEditorRow, UpdateSerialHolder, Insert };

struct SavePlan {
    // The second serial number is missing or out of range: the field becomes "0", and so 000000 is stored.
    bool secondSerialZero = false;
    std::string logLine;
    // Asked before anything is written; "Abbrechen" writes nothing.
    std::optional<Message> question;
    // The write without a question, or after "OK"/"Ja".
    SaveWrite write = SaveWrite::Nothing;
    // After "Nein" of the question with three buttons.
    SaveWrite writeAfterNo = SaveWrite::Nothing;
};

// For a form that SaveRefusal lets pass.
SavePlan PlanSave(const SaveInput& input, const SaveFacts& facts);

}  // namespace pnl
