#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>

#include "platform/file_system.h"
#include "support/installation.h"

namespace pnl {
namespace {

std::vector<std::string> namesIn(const std::string& folder) {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
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
