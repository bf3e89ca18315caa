#include "residents/save_plan.h"

#include "app/text.h"

namespace pnl {

namespace {

constexpr const char* kSaveTitle = "Datensatz sichern";
constexpr const char* kDuplicateSerial = "Es existiert bereits ein Datensatz mit dieser Seriennummer!";

// The line the serial-number question adds, naming whose record "Ja" would overwrite.
std::string serialHolderLine(const Resident& holder) {
    std::string owner = holder.name;
    if (!holder.firstName.empty())
        owner += (owner.empty() ? "" : ", ") + holder.firstName;
    if (const std::string apartment = trim(holder.apartment); !apartment.empty())
        owner += (owner.empty() ? "Wohnung " : ", Wohnung ") + apartment;
    return "\n\nDie Seriennummer gehört zu " + owner + ".";
}

}  // namespace

std::int64_t savedSerial(const SaveInput& input) {
    return leadingNumber(input.serial);
}

std::string SaveRefusal(const SaveInput& input) {
    if (storedName(input.name).empty())
        return "Sie müssen einen Namen eingeben!";
    if (trim(input.apartment).empty())
        return "Sie müssen eine Wohnungsnummer eingeben!";
    if (!hasDigit(input.serial))
        return "Sie müssen eine Seriennummer im Bereich 1 - 999.999 eingeben!";
    const std::int64_t serial = savedSerial(input);
    if (serial < 1 || serial > kMaxSerial)
        return "Sie müssen einen Seriennummer im Bereich 1 - 999.999 eingeben!";
    return {};
}

SavePlan PlanSave(const SaveInput& input, const SaveFacts& facts) {
    SavePlan plan;
    const std::int64_t second = leadingNumber(input.secondSerial);
    plan.secondSerialZero = input.secondSerialEmpty || second < 1 || second > kMaxSerial;
    plan.logLine = "Bewohnerdatensatz: " + input.apartment + " wurde geaendert.";

    const std::int64_t serial = savedSerial(input);
    const SaveWrite editorRowOrNew = facts.editorRowExists ? SaveWrite::UpdateEditorRow : SaveWrite::Insert;
    if (input.editorSerial != kNoRow) {
        // The serial numbers compare by value: "004711" typed over the shown 4711 is the same number.
        const bool sameSerial = !input.editorSerial.empty() && leadingNumber(input.editorSerial) == serial;
        // The shown resident with its own serial number (its row may be gone meanwhile: then the form becomes
        // a new row), or a serial number no other row has.
        if ((sameSerial && input.editorId != kNoRow) || (!sameSerial && !facts.serialHolder)) {
            plan.write = editorRowOrNew;
        } else if (!sameSerial) {
            // Another resident has the new serial number: written over only when the user agrees.
            plan.question =
                Message(std::string(kDuplicateSerial) + "\n\rVorhanden Datensatz überschreiben ?" +
                            serialHolderLine(*facts.serialHolder),
                        kSaveTitle, MsgIcon::None, MsgButtons::OkCancel, MsgAnswer::Cancel);
            plan.write = SaveWrite::UpdateSerialHolder;
        }
        // Otherwise an insert whose ID could not be read, saved again unchanged: nothing is written.
    } else if (!facts.serialHolder) {
        plan.write = SaveWrite::Insert;
    } else {
        // "Abbrechen" (also Escape and the close box) saves nothing: only the buttons make a second row.
        plan.question = Message(std::string(kDuplicateSerial) +
                                    "\r\nVorhanden Datensatz überschreiben (Ja), oder neuen\r\n"
                                    "Datensatz anlegen (Nein)?" +
                                    serialHolderLine(*facts.serialHolder),
                                kSaveTitle, MsgIcon::None, MsgButtons::YesNoCancel, MsgAnswer::Cancel);
        plan.write = SaveWrite::UpdateSerialHolder;
        plan.writeAfterNo = SaveWrite::Insert;
    }
    return plan;
}

}  // namespace pnl
