#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>

#include "platform/file_system.h"
#include "support/installation.h"

namespace pnl {
namespace {

// Fails the rename onto one chosen target, as a file held open by another program would on Windows.
class RenameFailsFor : public PosixFileSystem {
  public:
    explicit RenameFailsFor(std::string target, bool hardLinks = true)
        : target_(std::move(target)), hardLinks_(hardLinks) {}

  protected:
    bool replaceFile(const std::string& temp, const std::string& target) override {
        if (target == target_)
            return false;
        return PosixFileSystem::replaceFile(temp, target);
    }
    // Without hard links, as on FAT or some network shares.
    bool linkFile(const std::string& existing, const std::string& secondName) override {
        return hardLinks_ && PosixFileSystem::linkFile(existing, secondName);
    }

  private:
    std::string target_;
    bool hardLinks_;
};

std::vector<std::string> namesIn(const std::string& folder) {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

TEST(FileSystem, CopyFilesAtomicReplacesBothTargets) {
    test::Installation inst;
    inst.writeFile("A_COPY", "neu A");
    inst.writeFile("B_COPY", "neu B");
    inst.writeFile("A", "alt A");
    ::chmod(inst.path("A").c_str(), 0640);
    std::string error;
    ASSERT_TRUE(inst.fs.copyFilesAtomic(
        {{inst.path("A_COPY"), inst.path("A")}, {inst.path("B_COPY"), inst.path("B")}}, &error))
        << error;
    EXPECT_EQ(inst.readFile("A"), "neu A");
    EXPECT_EQ(inst.readFile("B"), "neu B");  // a target that did not exist yet
    struct stat st {};
    ::stat(inst.path("A").c_str(), &st);
    EXPECT_EQ(st.st_mode & 0777, 0640u);  // the replaced file keeps its permissions
    EXPECT_EQ(namesIn(inst.folder.path()), (std::vector<std::string>{"A", "A_COPY", "B", "B_COPY"}));
}

TEST(FileSystem, CopyFilesAtomicFailingSecondStepLeavesBothTargetsAsTheyWere) {
    test::TempFolder folder;
    const std::string dir = folder.path() + "/";
    PosixFileSystem plain;
    ASSERT_TRUE(plain.writeFileAtomic(dir + "A_COPY", "neu A"));
    ASSERT_TRUE(plain.writeFileAtomic(dir + "B_COPY", "neu B"));
    ASSERT_TRUE(plain.writeFileAtomic(dir + "A", "alt A"));
    ASSERT_TRUE(plain.writeFileAtomic(dir + "B", "alt B"));
    const auto before = namesIn(folder.path());

    // The rename of the second file fails after the first one was replaced: the first is put back.
    RenameFailsFor failing(dir + "B");
    std::string error;
    EXPECT_FALSE(failing.copyFilesAtomic({{dir + "A_COPY", dir + "A"}, {dir + "B_COPY", dir + "B"}}, &error));
    EXPECT_NE(error.find(dir + "B"), std::string::npos) << error;
    EXPECT_EQ(plain.readFile(dir + "A"), "alt A");
    EXPECT_EQ(plain.readFile(dir + "B"), "alt B");
    EXPECT_EQ(namesIn(folder.path()), before);  // no temporary file or backup left behind

    // A missing second source fails before anything is replaced.
    error.clear();
    EXPECT_FALSE(plain.copyFilesAtomic({{dir + "A_COPY", dir + "A"}, {dir + "FEHLT", dir + "B"}}, &error));
    EXPECT_NE(error.find("FEHLT"), std::string::npos) << error;
    EXPECT_EQ(plain.readFile(dir + "A"), "alt A");
    EXPECT_EQ(namesIn(folder.path()), before);

    // A target in a folder that does not exist.
    EXPECT_FALSE(
        plain.copyFilesAtomic({{dir + "A_COPY", dir + "A"}, {dir + "B_COPY", dir + "nix/B"}}, &error));
    EXPECT_EQ(plain.readFile(dir + "A"), "alt A");
    EXPECT_EQ(namesIn(folder.path()), before);
}

TEST(FileSystem, CopyFilesAtomicWorksWithoutHardLinks) {
    test::TempFolder folder;
    const std::string dir = folder.path() + "/";
    PosixFileSystem plain;
    ASSERT_TRUE(plain.writeFileAtomic(dir + "A_COPY", "neu A"));
    ASSERT_TRUE(plain.writeFileAtomic(dir + "B_COPY", "neu B"));
    ASSERT_TRUE(plain.writeFileAtomic(dir + "A", "alt A"));
    ASSERT_TRUE(plain.writeFileAtomic(dir + "B", "alt B"));
    const auto before = namesIn(folder.path());

    // The second rename fails: the first target gets its old content back from the kept copy.
    RenameFailsFor failing(dir + "B", false);
    std::string error;
    EXPECT_FALSE(failing.copyFilesAtomic({{dir + "A_COPY", dir + "A"}, {dir + "B_COPY", dir + "B"}}, &error));
    EXPECT_EQ(plain.readFile(dir + "A"), "alt A");
    EXPECT_EQ(plain.readFile(dir + "B"), "alt B");
    EXPECT_EQ(namesIn(folder.path()), before);

    RenameFailsFor noLinks("", false);
    ASSERT_TRUE(noLinks.copyFilesAtomic({{dir + "A_COPY", dir + "A"}, {dir + "B_COPY", dir + "B"}}, &error))
        << error;
    EXPECT_EQ(plain.readFile(dir + "A"), "neu A");
    EXPECT_EQ(plain.readFile(dir + "B"), "neu B");
    EXPECT_EQ(namesIn(folder.path()), before);
}

TEST(FileSystem, WritesCopiesAppendsAndDeletes) {
    test::Installation inst;
    PosixFileSystem& fs = inst.fs;
    const std::string a = inst.path("a.txt");
    EXPECT_FALSE(fs.fileExists(a));
    EXPECT_FALSE(fs.readFile(a));
    ASSERT_TRUE(fs.writeFileAtomic(a, std::string("eins\0zwei", 9)));
    EXPECT_EQ(fs.readFile(a), std::string("eins\0zwei", 9));
    ASSERT_TRUE(fs.writeFileAtomic(a, "kurz"));
    EXPECT_EQ(inst.readFile("a.txt"), "kurz");
    ASSERT_TRUE(fs.copyFile(a, inst.path("b.txt")));
    EXPECT_EQ(inst.readFile("b.txt"), "kurz");
    EXPECT_FALSE(fs.copyFile(inst.path("fehlt"), inst.path("b.txt")));
    EXPECT_EQ(inst.readFile("b.txt"), "kurz");

    EXPECT_FALSE(fs.appendLine(inst.path("log/x.log"), "ohne Ordner"));  // never creates the folder
    EXPECT_FALSE(fs.folderExists(inst.path("log")));
    ASSERT_TRUE(fs.createFolder(inst.path("log")));
    EXPECT_TRUE(fs.createFolder(inst.path("log")));  // already there
    EXPECT_TRUE(fs.folderExists(inst.path("log")));
    EXPECT_FALSE(fs.fileExists(inst.path("log")));
    ASSERT_TRUE(fs.appendLine(inst.path("log/x.log"), "eins"));
    ASSERT_TRUE(fs.appendLine(inst.path("log/x.log"), "zwei"));
    EXPECT_EQ(inst.readFile("log/x.log"), "eins\r\nzwei\r\n");
    EXPECT_FALSE(fs.readFile(inst.path("log")));  // a folder is no file

    EXPECT_TRUE(fs.deleteFile(a));
    EXPECT_FALSE(fs.deleteFile(a));
    EXPECT_EQ(namesIn(inst.folder.path()), (std::vector<std::string>{"b.txt", "log"}));
}

}  // namespace
}  // namespace pnl
