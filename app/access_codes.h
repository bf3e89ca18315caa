#pragma once
// Access codes and user levels: the check of an entered code against the level records of ANLAGE99.INI, the
// password dialog's logic (three tries, 20 seconds without a key press end the program), and the rights that
// the level's kind gives in the main window.

#include <cstdint>
#include <functional>
#include <string>

namespace pnl {

class Program;
struct PasswordDialogForm;
struct MainWindowForm;

// The fixed master code; compared with the upper-cased entry.
inline constexpr const char* kMasterCode = "ORION NEBEL";
inline constexpr int kAccessTries = 3;

struct CodeMatch {
    enum class Kind { Wrong, Level, Master };
    Kind kind = Kind::Wrong;
    int level = 0;  // the matching level (1..6) or 6 for the master code
};

// Compares the entry with the records "LEVEL1" to "LEVEL6" of section "Berechtigungen" in ANLAGE99.INI
// (through program.originalSettings; the working copy is not used). The lowest enabled level whose code
// equals the entry as text and whose kind is neither "N" nor empty wins; the master code in any case gives
// level 6.
CodeMatch MatchAccessCode(Program& program, const std::string& entry);

enum class AccessStep {
    Ignored,   // empty entry: not a try
    TryAgain,  // wrong code, fewer than three tries so far
    Refused,   // third wrong code: the program ends
    Admitted,  // program.userLevel holds the level
    Failure,   // the records could not be read; not counted as a try
};

// One try at the access code, counting wrong tries in program.userLevel (0 when the asking begins). A valid
// code sets program.userLevel; the master code also shows "Möge die Macht mit Euch sein". `accepted` runs as
// soon as a code is found valid, before that box.
AccessStep TryAccessCode(Program& program, const std::string& entry,
                         const std::function<void()>& accepted = {});

// The logic of the password dialog PasswordDialogForm.
class PasswordDialog {
  public:
    struct Seams {
        // Runs StartUp; false when it ended the program with a fatal error.
        std::function<bool()> startUp;
        // Ends the program (the dialog is already closed).
        std::function<void()> endProgram;
        // Paints the dialog at once, so that the loading text shows during the start-up.
        std::function<void()> repaint;
    };

    PasswordDialog(Program& program, PasswordDialogForm& form, int idleMilliseconds = 20000);
    ~PasswordDialog();
    PasswordDialog(const PasswordDialog&) = delete;
    PasswordDialog& operator=(const PasswordDialog&) = delete;

    // Opening: the try count is cleared, the prompt shown, the idle timer started, the dialog shown.
    void load();
    // Any key pressed in the dialog (it sees keys before its controls): restarts the idle time; Enter (13)
    // checks the code. True when the key was Enter and has been used.
    bool keyPressed(int keyAscii);
    void confirm();
    void cancel();
    void idleTimeElapsed();
    // The dialog's close box: ends the program unless a valid code has started it.
    void closed();
    void CheckAccessCode();

    bool open() const { return open_; }
    Seams seams;

    // The box that announces the end after three wrong codes or the idle time closes itself after this time.
    static constexpr int kEndNoticeSeconds = 5;

  private:
    void announceEnd(const std::string& why);
    void restartTimer();
    void stopTimer();
    void close();
    void closeAndEnd();

    Program& program_;
    PasswordDialogForm& form_;
    int idleMs_;
    int timer_ = 0;
    bool open_ = false;
};

// Enables the main window's menus and the resident page's controls by the kind of the current level's record
// (read from the working copy); a start with a level on the command line also disables the interface menu.
void ApplyLevelRights(Program& program, MainWindowForm& form);

// A level of kind "B" may only change the data of residents: no station assignment, no serial numbers, no new
// and no deleted residents, no interfaces.
bool MayOnlyEditResidentData(Program& program);

}  // namespace pnl
