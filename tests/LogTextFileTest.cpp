#include <gtest/gtest.h>

#include <algorithm>
#include <memory>

#include "TestSupport.h"
#include "log/TextFile.h"
#include "platform/TextEncoder.h"

TEST(LogTextFile, WritesEveryLineFeedAsCrLfAndEmptiesAnOldFile)
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

TEST(LogTextFile, LongTextsKeepEveryLineEndAcrossWriteChunks)
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

TEST(LogTextFile, ConvertsAfterTheLineEndsWithoutCuttingCharactersAtChunkEnds)
{
    // Texts longer than a chunk, of characters of three, two and one bytes, each shifted by one
    // byte more, so that chunk ends fall into every character.
    TempFolder dir;
    std::unique_ptr<CTextEncoder> encoder = CTextEncoder::Create("1252");
    CTextFile file;
    file.SetEncoder(encoder.get());
    ASSERT_TRUE(file.Open(dir / "long.txt"));
    std::string expected;
    for (int shift = 0; shift < 7; ++shift) {
        std::string text(shift, 'x');
        expected += text;
        for (int i = 0; i < 5000; ++i) {
            text += "\u20AC\u00FC\n";
            expected += "\x80\xFC\r\n";
        }
        ASSERT_TRUE(file.Write(text));
    }
    const std::string written = ReadFileBytes(dir / "long.txt");
    const auto difference = std::mismatch(written.begin(), written.end(), expected.begin(), expected.end());
    EXPECT_TRUE(written == expected) << "first difference at byte " << difference.first - written.begin();
    EXPECT_EQ(encoder->Replacements(), 0u);
}

TEST(LogTextFile, ReportsFailuresInsteadOfLosingText)
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

TEST(LogTextFile, CreateNewNeverOverwrites)
{
    TempFolder dir;
    std::string path = dir / "log.txt";
    WriteFileBytes(path, "earlier");
    CTextFile file;
    EXPECT_FALSE(file.CreateNew(path));
    EXPECT_EQ(ReadFileBytes(path), "earlier");
    EXPECT_TRUE(file.CreateNew(dir / "new.txt"));
}

TEST(LogTextFile, ReplacingLeavesTheOldFileWholeUntilCommitted)
{
    TempFolder dir;
    std::string path = dir / "a.bas";
    WriteFileBytes(path, "old");
    CTextFile file;
    ASSERT_TRUE(file.OpenReplacing(path));
    EXPECT_TRUE(file.Write("new\n"));
    EXPECT_EQ(ReadFileBytes(path), "old");
    // Not committed: the temporary file goes, the old one stays.
    file.Close();
    EXPECT_EQ(ListFolder(dir.Path()), std::vector<std::string>{"a.bas"});
    EXPECT_EQ(ReadFileBytes(path), "old");

    ASSERT_TRUE(file.OpenReplacing(path));
    EXPECT_TRUE(file.Write("new\n"));
    EXPECT_TRUE(file.Commit());
    EXPECT_EQ(ReadFileBytes(path), "new\r\n");
    EXPECT_EQ(ListFolder(dir.Path()), std::vector<std::string>{"a.bas"});
    EXPECT_FALSE(file.Commit());

    ASSERT_TRUE(MakeFolder(dir / "folder.cls"));
    EXPECT_FALSE(file.OpenReplacing(dir / "folder.cls"));
    EXPECT_FALSE(file.ErrorText().empty());
    EXPECT_FALSE(file.OpenReplacing(dir / "missing/a.bas"));
    EXPECT_EQ(ListFolder(dir.Path()), (std::vector<std::string>{"a.bas", "folder.cls"}));
}

TEST(LogTextFile, ReadsTheFirstLineWithoutItsLineEnd)
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
