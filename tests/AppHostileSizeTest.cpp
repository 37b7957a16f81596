// Rule files whose global code is one very large CDATA block.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>
#include <vector>

#include "TestSupport.h"
#include "hostile/HostileProgram.h"

namespace {

constexpr size_t kHugeSize = 200u << 20;
// Below libxml2's limit for one text node.
constexpr size_t kLargeSize = 9u << 20;

constexpr std::string_view kCodeLine = "Public Counter As Long ' padding\n";

// A rule file of exactly size bytes whose global code is one CDATA block. Returns the number of
// code lines in it.
size_t WriteRuleFile(const std::string& path, size_t size)
{
    const std::string head = "<?xml version=\"1.0\"?>\n<KnowledgeBase name=\"Huge\"><GlobalCode><![CDATA[\n";
    const std::string tail = "]]></GlobalCode></KnowledgeBase>\n";
    std::string chunk;
    size_t chunkLines = 0;
    for (; chunk.size() < (1u << 20); ++chunkLines)
        chunk += kCodeLine;
    size_t lines = 0;
    std::ofstream out(path, std::ios::binary);
    out << head;
    size_t written = head.size() + tail.size();
    while (written + chunk.size() <= size) {
        out << chunk;
        written += chunk.size();
        lines += chunkLines;
    }
    out << std::string(size - written, ' ') << tail;
    return lines;
}

}  // namespace

// libxml2 without XML_PARSE_HUGE refuses any single text or CDATA node above 10,000,000 bytes
// (XML_MAX_TEXT_LENGTH: "CData section too big found"), and the reader never lifts that limit.
// So the 200 MB file does not load: the conversion fails like any file that is not a rule file,
// with the begin banner alone, after reading the file once, in seconds and in memory of a small
// multiple of the file. A block below the limit converts.
TEST(AppHostileSize, A200MegabyteCdataBlockFailsCleanlyInBoundedTimeAndMemory)
{
    hostile::Program program;
    WriteRuleFile(program.Work("huge.pxkbx"), kHugeSize);
    ASSERT_EQ(std::filesystem::file_size(program.Work("huge.pxkbx")), kHugeSize);
    const std::vector<std::string> outside = program.OutsideTarget();

    const hostile::Outcome outcome = program.Convert("huge.pxkbx", {.seconds = 120});
    const std::string log = hostile::ExpectCleanFailure(program, outcome, "huge.pxkbx", outside);
    EXPECT_EQ(log, program.BeginBanner("huge.pxkbx"));
    EXPECT_NE(outcome.err.find("CData section too big"), std::string::npos) << outcome.err;
    EXPECT_EQ(hostile::ListEntries(program.Target()), std::vector<std::string>{});
    EXPECT_LT(outcome.seconds, 60);
    EXPECT_LT(outcome.maxRssKb, 1536 * 1024);
}

TEST(AppHostileSize, ABlockBelowTheParsersLimitConverts)
{
    hostile::Program program;
    const size_t lines = WriteRuleFile(program.Work("large.pxkbx"), kLargeSize);
    const hostile::Outcome outcome = program.Convert("large.pxkbx", {.seconds = 120});
    EXPECT_EQ(outcome.exitCode, 0) << outcome.err;
    hostile::ExpectNoSanitizerReport(outcome);
    const std::string module = ReadFileBytes(program.Target() + "/Huge/GlobalCode.bas");
    size_t found = 0;
    const std::string line = WithCrLf(std::string(kCodeLine));
    for (size_t pos = module.find(line); pos != std::string::npos; pos = module.find(line, pos + 1))
        ++found;
    EXPECT_EQ(found, lines);
}

// The size of the opened file is checked before a byte of it is read: reading 2 GB of a sparse
// file took seconds.
TEST(AppHostileSize, AFileLargerThanTheParserCountsIsRefusedUnread)
{
    hostile::Program program;
    program.WriteRule("sparse.pxkbx", "");
    std::filesystem::resize_file(FsPath(program.Work("sparse.pxkbx")), (2ull << 30) + 1);
    const hostile::Outcome outcome = program.Convert("sparse.pxkbx", {.seconds = 5});
    EXPECT_FALSE(outcome.timedOut);
    EXPECT_EQ(outcome.err.substr(0, outcome.err.find('\n')),
              program.Work("sparse.pxkbx") + ": error: the rule file is too large");
}
