#include "app/installation_folder.h"

#include <gtest/gtest.h>

#include "app/first_start.h"
#include "support/installation.h"
#include "support/scripted_dialogs.h"
#include "tools/sample/sample_installation.h"

namespace pnl {
namespace {

// A program folder, a user's configuration folder and two installations, on the real file system.
struct Scene {
    Scene() {
        fs.createFolder(program);
        fs.createFolder(first);
        fs.createFolder(second);
        fs.writeFileAtomic(first + "/ANLAGE99.INI", "");
        fs.writeFileAtomic(second + "/ANLAGE99.INI", "");
    }
    FoundFolder find(std::optional<std::string> given = std::nullopt) const {
        return findInstallationFolder({given, program}, fs, settings);
    }

    test::TempFolder root;
    PosixFileSystem fs;
    std::string program = root.path() + "/bin", first = root.path() + "/anlage1",
                second = root.path() + "/anlage2";
    XdgUserSettings settings{fs, root.path() + "/config"};
};

TEST(InstallationFolder, GivenThenPortableThenChosenLast) {
    Scene scene;
    // Nothing: the program folder was searched; no folder was chosen yet.
    FoundFolder found = scene.find();
    EXPECT_EQ(found.folder, "");
    EXPECT_EQ(found.lookedIn, std::vector<std::string>{scene.program});
    EXPECT_EQ(noInstallationFolderMessage(found, scene.settings),
              "Kein Installationsordner gefunden: keine ANLAGE99.INI in " + scene.program + "; in " +
                  scene.root.path() +
                  "/config/pnl-fernwartung ist kein zuletzt gewählter Ordner vermerkt. "
                  "Geben Sie den Ordner mit --folder ORDNER an.");

    // The folder chosen last, kept in the user's configuration; a line break is refused.
    ASSERT_TRUE(scene.settings.setLastFolder(scene.first));
    EXPECT_FALSE(scene.settings.setLastFolder("/a\n/b"));
    EXPECT_EQ(XdgUserSettings(scene.fs, scene.root.path() + "/config").lastFolder(), scene.first);
    EXPECT_EQ(scene.find().folder, scene.first);

    // A portable installation beside the executable wins over the folder chosen last.
    scene.fs.writeFileAtomic(scene.program + "/ANLAGE99.INI", "");
    EXPECT_EQ(scene.find().folder, scene.program);
    // --folder wins over both, and is taken even without a settings file (the start-up reports it).
    EXPECT_EQ(scene.find(scene.root.path() + "/leer").folder, scene.root.path() + "/leer");

    // A folder chosen last that lost its installation is not taken.
    scene.fs.deleteFile(scene.program + "/ANLAGE99.INI");
    scene.fs.deleteFile(scene.first + "/ANLAGE99.INI");
    found = scene.find();
    EXPECT_EQ(found.folder, "");
    EXPECT_EQ(found.lookedIn, (std::vector<std::string>{scene.program, scene.first}));
    EXPECT_EQ(noInstallationFolderMessage(found, scene.settings),
              "Kein Installationsordner gefunden: keine ANLAGE99.INI in " + scene.program + " und " +
                  scene.first + ". Geben Sie den Ordner mit --folder ORDNER an.");

    // A folder with spaces and umlauts, edited by hand with a Windows line end.
    scene.fs.writeFileAtomic(scene.settings.location() + "/installationsordner",
                             scene.root.path() + "/Anlage Müller\r\n");
    scene.fs.createFolder(scene.root.path() + "/Anlage Müller");
    scene.fs.writeFileAtomic(scene.root.path() + "/Anlage Müller/ANLAGE99.INI", "");
    EXPECT_EQ(scene.find().folder, scene.root.path() + "/Anlage Müller");
}

// The first-start dialog, answered by a script: each ask() takes the next choice, each pickFolder() the next
// folder (empty: the user cancelled the folder dialog).
struct ScriptedPrompt : FirstStartPrompt {
    FirstStartChoice ask() override {
        const auto next = choices.front();
        choices.pop_front();
        return next;
    }
    std::optional<std::string> pickFolder(const std::string&) override {
        const auto next = folders.front();
        folders.pop_front();
        return next.empty() ? std::nullopt : std::optional(next);
    }
    std::deque<FirstStartChoice> choices;
    std::deque<std::string> folders;
};

TEST(FirstStart, AnExistingInstallationOrASampleBecomesTheFolderChosenLast) {
    struct Case {
        const char* name;
        std::deque<FirstStartChoice> choices;
        std::vector<std::string> folders;  // relative to the scene's root; "" cancels the folder dialog
        std::string chosen;
        std::vector<std::string> boxes;  // the beginnings of the boxes shown
    };
    using C = FirstStartChoice;
    const std::vector<Case> cases = {
        {"quit at once", {C::Quit}, {}, "", {}},
        {"an existing installation", {C::Existing}, {"anlage1"}, "anlage1", {}},
        {"folder dialog cancelled, then quit", {C::Existing, C::Quit}, {""}, "", {}},
        {"a folder without ANLAGE99.INI, then the right one",
         {C::Existing, C::Existing},
         {"bin", "anlage2"},
         "anlage2",
         {"Im Ordner "}},
        {"a sample in a new folder", {C::Sample}, {"neu"}, "neu", {"Die Beispielinstallation liegt in "}},
        {"a sample over an installation is refused",
         {C::Sample, C::Quit},
         {"anlage1"},
         "",
         {"Die Beispielinstallation wurde nicht angelegt: "}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Scene scene;
        test::ScriptedDialogs dialogs;
        ScriptedPrompt prompt;
        prompt.choices = c.choices;
        for (const auto& folder : c.folders)
            prompt.folders.push_back(folder.empty() ? "" : scene.root.path() + "/" + folder);
        const std::string settingsBefore = scene.fs.readFile(scene.first + "/ANLAGE99.INI").value_or("?");
        const SampleWriter writer = [](const std::string& folder) {
            std::string error;
            return writeSampleInstallation(folder, &error)
                       ? SampleWritten{true, "Die Beispielinstallation liegt in " + folder}
                       : SampleWritten{false, "Die Beispielinstallation wurde nicht angelegt: " + error};
        };

        const std::string chosen =
            chooseInstallationFolder({scene.fs, dialogs, scene.settings, prompt, writer});

        const std::string expected = c.chosen.empty() ? "" : scene.root.path() + "/" + c.chosen;
        EXPECT_EQ(chosen, expected);
        EXPECT_EQ(scene.settings.lastFolder(), expected);
        EXPECT_EQ(holdsInstallation(scene.fs, expected), !expected.empty());
        ASSERT_EQ(dialogs.shown.size(), c.boxes.size());
        for (std::size_t i = 0; i < c.boxes.size(); ++i)
            EXPECT_EQ(dialogs.shown[i].text.rfind(c.boxes[i], 0), 0u) << dialogs.shown[i].text;
        EXPECT_TRUE(prompt.choices.empty());
        // An installation that was there is never overwritten.
        EXPECT_EQ(scene.fs.readFile(scene.first + "/ANLAGE99.INI").value_or("?"), settingsBefore);
    }
}

}  // namespace
}  // namespace pnl
