#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>

#include "platform/file_system.h"
#include "support/installation.h"

namespace pnl {
namespace {

TEST(FileSystem, WritesCopiesAppendsAndDeletes) {
    test::Installation inst;
    PosixFileSystem& fs = inst.fs;
    const std::string a = inst.path("a.txt");
    EXPECT_FALSE(fs.fileExists(a));
    EXPECT_FALSE(fs.readFile(a));
    ASSERT_TRUE(fs.writeFileAtomic(a, std::string("eins\0zwei", 9)));
    EXPECT_EQ(fs.readFile(a), std::string("eins\0zwei", 9));
    ASSERT_TRUE(fs.writeFileAtomic(a, "kurz"));
    ASSERT_TRUE(fs.copyFile(a, inst.path("b.txt")));
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
    EXPECT_EQ(fs.listFolder(inst.folder.path()), (std::vector<std::string>{"b.txt", "log"}));
}

TEST(FileSystem, TheStepsOfACommit) {
    test::Installation inst;
    PosixFileSystem& fs = inst.fs;
    inst.writeFile("A", "abc");
    ::chmod(inst.path("A").c_str(), 0640);
    EXPECT_EQ(fs.digest(inst.path("A")),
              (FileDigest{3, "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad"}));
    EXPECT_FALSE(fs.digest(inst.path("fehlt")));

    std::string error;
    ASSERT_TRUE(fs.copyFlushed(inst.path("A"), inst.path("A.neu"), inst.path("A"), &error)) << error;
    struct stat st {};
    ::stat(inst.path("A.neu").c_str(), &st);
    EXPECT_EQ(st.st_mode & 0777, 0640u);  // the permissions of the file it will replace
    EXPECT_EQ(inst.readFile("A.neu"), "abc");
    EXPECT_FALSE(fs.copyFlushed(inst.path("fehlt"), inst.path("B"), "", &error));
    EXPECT_FALSE(fs.fileExists(inst.path("B")));
    EXPECT_NE(error.find("fehlt"), std::string::npos);

    std::filesystem::create_symlink(inst.path("A"), inst.path("Link"));
    EXPECT_EQ(fs.resolveLinks(inst.path("Link")), fs.resolveLinks(inst.path("A")));
    EXPECT_EQ(fs.resolveLinks(inst.path("neu")), inst.path("neu"));

    EXPECT_EQ(fs.replaceRefusal(inst.path("A")), "");
    ::chmod(inst.path("A").c_str(), 0444);
    EXPECT_EQ(fs.replaceRefusal(inst.path("A")), "Die Datei " + inst.path("A") + " ist schreibgeschützt.");
    EXPECT_FALSE(fs.renameFile(inst.path("fehlt"), inst.path("A"), &error));
    EXPECT_EQ(error, inst.path("A") + ": Die Datei oder ihr Ordner fehlt.");
    EXPECT_TRUE(fs.syncFolder(inst.folder.path(), &error));
    EXPECT_EQ(fs.listFolder(inst.folder.path()), (std::vector<std::string>{"A", "A.neu", "Link"}));
}

}  // namespace
}  // namespace pnl
