#include <gtest/gtest.h>

#include <algorithm>

#include "TestSupport.h"
#include "platform/FileSearch.h"
#include "platform/FileSystem.h"
#include "platform/TextDecoder.h"
#include "platform/TextEncoder.h"

TEST(PlatformTextEncoder, WritesEachCharacterInTheCodePageOrAsOneQuestionMark)
{
    struct Case {
        const char* behaviour;
        const char* codePage;
        std::string text;
        std::string bytes;
        size_t replacements;
    };
    const Case cases[] = {
        {"ASCII stays as it is", "1252", "Sub A()\r\n'?\r\n", "Sub A()\r\n'?\r\n", 0},
        {"a letter of the code page", "1252", "Gr\u00FC\u00DFe", "Gr\xFC\xDF" "e", 0},
        {"the euro sign of 1252", "windows-1252", "5 \u20AC", "5 \x80", 0},
        {"a letter 1252 lacks", "CP1252", "\u0141\u00F3d\u017A", "?\xF3" "d?", 2},
        {"each one counts, also when it comes again", "1252", "\u0141\u00F3\u0141", "?\xF3?", 2},
        {"one question mark for a character of four bytes", "1252", "a\U0001F600b", "a?b", 1},
        {"a byte that is no UTF-8", "1252", "a\xFF\xC3", "a??", 2},
        {"a double-byte character of 932", "932", "\u65E5\u672C", "\x93\xFA\x96\x7B", 0},
        {"characters 932 lacks", "932", "\u00FC\u20AC\u65E5", "??\x93\xFA", 2},
        {"the euro sign of 950", "950", "\u20AC", "\xA3\xE1", 0},
        {"UTF-8 is passed through, even bytes that are no UTF-8", "65001", "\u00FC\xFF", "\u00FC\xFF", 0},
        {"a character 932 has only a best fit for: the yen sign is no backslash", "932", "\u00A5\u203E", "??", 2},
        {"a C1 control, with which Windows fills the holes of 1252", "1252", "\u0081\u0080", "??", 2},
        {"an overlong form and a surrogate are no characters", "1252", "\xC0\xAF\xED\xA0\x80", "???", 3},
        {"Shift_JIS is Windows' 932", "Shift_JIS", "\\\uFF76", "\\\xB6", 0},
    };
    for (const Case& c : cases) {
        std::unique_ptr<CTextEncoder> encoder = CTextEncoder::Create(c.codePage);
        ASSERT_TRUE(encoder) << c.behaviour;
        std::string out = "kept ";
        encoder->Encode(c.text, out);
        EXPECT_EQ(out, "kept " + c.bytes) << c.behaviour;
        EXPECT_EQ(encoder->Replacements(), c.replacements) << c.behaviour;
        EXPECT_EQ(encoder->Name(), c.codePage) << c.behaviour;
    }
    for (const char* unknown : {"", "1234", "437", "no-such-code-page", "CP1252//TRANSLIT", "UTF-16", "EBCDIC-US"})
        EXPECT_FALSE(CTextEncoder::Create(unknown)) << "'" << unknown << "' is no code page to write in";
    EXPECT_TRUE(CTextEncoder::Create(CTextEncoder::DefaultCodePage()));
    EXPECT_TRUE(CTextEncoder::Create("utf-8")->PassesThrough());
}

TEST(PlatformTextDecoder, ReadsWholeCharactersOfTheCodePageAsUtf8)
{
    struct Case {
        const char* behaviour;
        unsigned codePage;
        std::string bytes;
        std::string text;  // what is written
        size_t read;
        bool invalid = false;
        size_t room = 64;
    };
    const Case cases[] = {
        {"letters of 1252, the euro sign included", 1252, "Gr\xFC\xDF" "e \x80", "Gr\u00FC\u00DF" "e \u20AC", 7},
        {"a hole of 1252 is no character", 1252, "a\x81" "b", "a", 1, true},
        {"double-byte characters of 932, the backslash and a half-width letter", 932, "\x93\xFA\\\xB6",
         "\u65E5\\\uFF76", 4},
        {"a character that the piece's end cuts off waits for the next piece", 932, "a\x93", "a", 1},
        {"a lead byte without its trail byte", 932, "a\x93 ", "a", 1, true},
        {"hangul of 949", 949, "\xC7\xD1", "\uD55C", 2},
        {"a letter of 936", 936, "\xD6\xD0", "\u4E2D", 2},
        {"the euro sign of 950", 950, "\xA3\xE1", "\u20AC", 2},
        {"no more than the room holds, and only whole characters", 1252, "\xFC\xFC\x81", "\u00FC", 1, false, 3},
    };
    for (const Case& c : cases) {
        std::string out(c.room, '\0');
        const CTextDecoder::Result result = CTextDecoder::Decode(c.codePage, c.bytes, out.data(), out.size());
        EXPECT_EQ(out.substr(0, result.written), c.text) << c.behaviour;
        EXPECT_EQ(result.read, c.read) << c.behaviour;
        EXPECT_EQ(result.invalid, c.invalid) << c.behaviour;
    }
}

TEST(PlatformFileSystem, CreateFolderReportsTheOutcomesTheCallersTest)
{
    using Outcome = CFileSystem::FolderOutcome;
    TempFolder dir;
    EXPECT_EQ(CFileSystem::CreateFolder(dir / "p"), Outcome::Created);
    EXPECT_EQ(CFileSystem::CreateFolder(dir / "p"), Outcome::AlreadyExists);
    WriteFileBytes(dir / "file", "");
    EXPECT_EQ(CFileSystem::CreateFolder(dir / "file"), Outcome::AlreadyExists);
    // One level only: a missing parent is an ordinary failure.
    std::string whyNot;
    EXPECT_EQ(CFileSystem::CreateFolder(dir / "missing/p", whyNot), Outcome::Failed);
    EXPECT_EQ(whyNot, "No such file or directory");
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

TEST(PlatformFileSearch, FindsFilesInByteOrderWithAbsolutePathsPassingOverFolders)
{
    TempFolder dir;
    WriteFileBytes(dir / "b.pxkbx", "");
    WriteFileBytes(dir / "a.pxkbx", "");
    WriteFileBytes(dir / "C.pxkbx", "");
    WriteFileBytes(dir / "note.txt", "");
    WriteFileBytes(dir / ".hidden.pxkbx", "");
    ASSERT_TRUE(MakeFolder(dir / "sub.pxkbx"));

    std::string prefix = dir.Path() + "/";
    EXPECT_EQ(CFileSearch::Find(prefix + "*.pxkbx"),
              (std::vector<std::string>{prefix + ".hidden.pxkbx", prefix + "C.pxkbx", prefix + "a.pxkbx",
                                        prefix + "b.pxkbx"}));
    EXPECT_EQ(CFileSearch::Find(prefix + "*"),
              (std::vector<std::string>{prefix + ".hidden.pxkbx", prefix + "C.pxkbx", prefix + "a.pxkbx",
                                        prefix + "b.pxkbx", prefix + "note.txt"}));
    EXPECT_TRUE(CFileSearch::Find(prefix + "missing/*").empty());
    EXPECT_EQ(CFileSearch::Find(prefix + "note.txt"), std::vector<std::string>{prefix + "note.txt"});
    EXPECT_TRUE(CFileSearch::Find(prefix + "sub.pxkbx/").empty());
    EXPECT_TRUE(CFileSearch::Find(prefix + "absent.txt").empty());
}

TEST(PlatformFileSearch, RelativePatternsBecomeAbsoluteAgainstTheCurrentFolder)
{
    TempFolder dir;
    ASSERT_TRUE(MakeFolder(dir / "rules"));
    WriteFileBytes(dir / "rules/x.pxkbx", "");
    WriteFileBytes(dir / "top.pxkbx", "");
    std::string before = CFileSystem::CurrentFolder();
    ASSERT_TRUE(ChangeFolder(dir.Path()));
    std::vector<std::string> found = CFileSearch::Find("rules/*.pxkbx");
    std::vector<std::string> bare = CFileSearch::Find("top.pxkbx");
    std::string cwd = CFileSystem::CurrentFolder();
    ASSERT_TRUE(ChangeFolder(before));
    // Joined with the platform's separator; the pattern's own part stays as it was typed.
    EXPECT_EQ(found, std::vector<std::string>{JoinedPath(cwd, "rules/x.pxkbx")});
    EXPECT_EQ(bare, std::vector<std::string>{JoinedPath(cwd, "top.pxkbx")});
}
