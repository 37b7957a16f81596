#include <gtest/gtest.h>

#include "TestSupport.h"
#include "platform/FileSearch.h"
#include "platform/FileSystem.h"
#include "platform/TextFile.h"

TEST(PlatformTextFile, WritesEveryLineFeedAsCrLfAndEmptiesAnOldFile)
{
    TempFolder dir;
    std::string path = dir / "a.txt";
    WriteFileBytes(path, "old content that must go\n");
    CTextFile file;
    ASSERT_TRUE(file.Open(path));
    EXPECT_TRUE(file.Write("one\ntwo\n\nthree"));
    // Flushed at once: readable before the file is closed.
    EXPECT_EQ(ReadFileBytes(path), "one\r\ntwo\r\n\r\nthree");
    EXPECT_TRUE(file.Write("\n"));
    EXPECT_EQ(ReadFileBytes(path), "one\r\ntwo\r\n\r\nthree\r\n");
}

TEST(PlatformTextFile, LongTextsKeepEveryLineEndAcrossWriteChunks)
{
    // Line feeds at every distance from each other, so some fall on any chunk boundary.
    std::string text;
    for (int run = 0; text.size() < 100000; ++run)
        text += std::string(run % 4099, 'x') + "\n" + (run % 3 == 0 ? "\n" : "");
    TempFolder dir;
    CTextFile file;
    ASSERT_TRUE(file.Open(dir / "long.txt"));
    ASSERT_TRUE(file.Write(text));
    ASSERT_TRUE(file.Write(std::string(70000, 'y')));
    EXPECT_EQ(ReadFileBytes(dir / "long.txt"), WithCrLf(text) + std::string(70000, 'y'));
}

TEST(PlatformTextFile, ReportsFailuresInsteadOfLosingText)
{
    TempFolder dir;
    CTextFile notOpen;
    EXPECT_FALSE(notOpen.Write("x"));

    CTextFile folderInTheWay;
    EXPECT_FALSE(folderInTheWay.Open(dir.Path()));
    EXPECT_EQ(folderInTheWay.ErrorText(), "Is a directory");
    EXPECT_FALSE(folderInTheWay.CreateNew(dir.Path()));
    EXPECT_FALSE(folderInTheWay.ErrorText().empty());
}

TEST(PlatformTextFile, CreateNewNeverOverwrites)
{
    TempFolder dir;
    std::string path = dir / "log.txt";
    WriteFileBytes(path, "earlier");
    CTextFile file;
    EXPECT_FALSE(file.CreateNew(path));
    EXPECT_EQ(ReadFileBytes(path), "earlier");
    EXPECT_TRUE(file.CreateNew(dir / "new.txt"));
}

TEST(PlatformTextFile, ReadsTheFirstLineWithoutItsLineEnd)
{
    TempFolder dir;
    struct Case {
        const char* bytes;
        const char* firstLine;
    } cases[] = {
        {"/home/u/out\r\nsecond\r\n", "/home/u/out"},
        {"/home/u/out\nsecond\n", "/home/u/out"},
        {"no line end", "no line end"},
        {"\r\nsecond\r\n", ""},
        {"", ""},
    };
    for (const Case& c : cases) {
        WriteFileBytes(dir / "config.txt", c.bytes);
        std::string line = "unchanged";
        EXPECT_TRUE(CTextFile::ReadFirstLine(dir / "config.txt", line));
        EXPECT_EQ(line, c.firstLine) << c.bytes;
    }
    std::string line = "unchanged";
    EXPECT_FALSE(CTextFile::ReadFirstLine(dir / "missing.txt", line));
    EXPECT_EQ(line, "unchanged");
}

TEST(PlatformFileSystem, CreateFolderReportsTheCodesTheCallersTest)
{
    TempFolder dir;
    EXPECT_EQ(CFileSystem::CreateFolder(dir / "p"), CFileSystem::kCreated);
    EXPECT_EQ(CFileSystem::CreateFolder(dir / "p"), CFileSystem::kAlreadyExists);
    WriteFileBytes(dir / "file", "");
    EXPECT_EQ(CFileSystem::CreateFolder(dir / "file"), CFileSystem::kAlreadyExists);
    // One level only: a missing parent is an ordinary failure.
    int code = CFileSystem::CreateFolder(dir / "missing/p");
    EXPECT_NE(code, CFileSystem::kCreated);
    EXPECT_NE(code, CFileSystem::kAlreadyExists);
    EXPECT_NE(code, CFileSystem::kNotReady);
    EXPECT_FALSE(CFileSystem::EntryExists(dir / "missing"));
}

TEST(PlatformFileSystem, ExecutableFolderEndsInASeparatorAndHoldsTheProgram)
{
    std::string folder = CFileSystem::ExecutableFolder();
    ASSERT_FALSE(folder.empty());
    EXPECT_TRUE(folder.back() == '/' || folder.back() == '\\') << folder;
    EXPECT_TRUE(CFileSystem::EntryExists(folder + TEST_PROGRAM_NAME)) << folder;
    EXPECT_FALSE(CFileSystem::EntryExists(folder + "no-" TEST_PROGRAM_NAME)) << folder;
}

TEST(PlatformFileSearch, WildcardsAreStarAndQuestionMarkOnly)
{
    struct Case {
        const char* wildcard;
        const char* name;
        bool matches;
    } cases[] = {
        {"*.pxkbx", "Plant.pxkbx", true},
        {"*.pxkbx", "Plant.pxkbx.bak", false},
        {"P?ant.*", "Plant.pxkbx", true},
        {"P?ant.*", "Pant.pxkbx", false},
        {"*", ".", true},
        {"*", "..", true},
        {"a*b*c", "aXbYbZc", true},
        {"a*b*c", "aXbYbZ", false},
        {"[ab].txt", "[ab].txt", true},
        {"[ab].txt", "a.txt", false},
        {"a\\b", "a\\b", true},
        {"plant.pxkbx", "Plant.pxkbx", false},
        {"**", "", true},
        {"*a", "*ba", true},
    };
    for (const Case& c : cases)
        EXPECT_EQ(CFileSearch::Matches(c.wildcard, c.name), c.matches) << c.wildcard << " " << c.name;
}

TEST(PlatformFileSearch, FindsFilesAndFoldersInByteOrderWithAbsolutePaths)
{
    TempFolder dir;
    WriteFileBytes(dir / "b.pxkbx", "");
    WriteFileBytes(dir / "a.pxkbx", "");
    WriteFileBytes(dir / "C.pxkbx", "");
    WriteFileBytes(dir / "note.txt", "");
    ASSERT_TRUE(MakeFolder(dir / "sub.pxkbx"));

    std::string prefix = dir.Path() + "/";
    EXPECT_EQ(CFileSearch::Find(prefix + "*.pxkbx"),
              (std::vector<std::string>{prefix + "C.pxkbx", prefix + "a.pxkbx", prefix + "b.pxkbx",
                                        prefix + "sub.pxkbx"}));
    EXPECT_EQ(CFileSearch::Find(prefix + "*"),
              (std::vector<std::string>{prefix + ".", prefix + "..", prefix + "C.pxkbx",
                                        prefix + "a.pxkbx", prefix + "b.pxkbx", prefix + "note.txt",
                                        prefix + "sub.pxkbx"}));
    EXPECT_TRUE(CFileSearch::Find(prefix + "missing/*").empty());
    EXPECT_EQ(CFileSearch::Find(prefix + "note.txt"), std::vector<std::string>{prefix + "note.txt"});
    EXPECT_EQ(CFileSearch::Find(prefix + "sub.pxkbx/"), std::vector<std::string>{prefix + "sub.pxkbx"});
    EXPECT_TRUE(CFileSearch::Find(prefix + "absent.txt").empty());
}

TEST(PlatformFileSearch, RelativePatternsBecomeAbsoluteAgainstTheCurrentFolder)
{
    TempFolder dir;
    ASSERT_TRUE(MakeFolder(dir / "rules"));
    WriteFileBytes(dir / "rules/x.pxkbx", "");
    std::string before = CFileSystem::CurrentFolder();
    ASSERT_TRUE(ChangeFolder(dir.Path()));
    std::vector<std::string> found = CFileSearch::Find("rules/*.pxkbx");
    std::vector<std::string> bare = CFileSearch::Find("rules");
    std::string cwd = CFileSystem::CurrentFolder();
    ASSERT_TRUE(ChangeFolder(before));
    EXPECT_EQ(found, std::vector<std::string>{cwd + "/rules/x.pxkbx"});
    EXPECT_EQ(bare, std::vector<std::string>{cwd + "/rules"});
}
