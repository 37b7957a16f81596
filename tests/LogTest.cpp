#include <gtest/gtest.h>

#include <regex>

#include "TestSupport.h"
#include "log/Log.h"

namespace {

// The log's text with every time text replaced by "T", so lines can be compared exactly.
std::string MaskTimes(const std::string& text)
{
    static const std::regex time(R"(\d{4}-\d{2}-\d{2} \d{2}\.\d{2}\.\d{2})");
    return std::regex_replace(text, time, "T");
}

std::string LogText(const CLog* log)
{
    return ReadFileBytes(log->FilePath());
}

}  // namespace

TEST(LogBanners, ExactTextsAndARulePathWithTokensAsItIsAndControlsEscaped)
{
    TempFolder dir;
    CLog* log = CLog::Restart(dir.Path() + "/");
    log->BeginConversion("/r/ITEM_00001\x1b[2J\n.pxkbx");
    log->FinishConversion("/r/ITEM_00001\x1b[2J\n.pxkbx");
    std::string hyphens26(26, '-');
    EXPECT_EQ(LogText(log),
              WithCrLf(hyphens26 + "  Begin to convert /r/ITEM_00001\\x1b[2J\\n.pxkbx  " + std::string(38, '-') +
                       "\n" + hyphens26 + "  Finish to convert /r/ITEM_00001\\x1b[2J\\n.pxkbx  " +
                       std::string(37, '-') + "\n\n"));
}

TEST(LogLines, StepWriteAndItemLinesEndInCrLf)
{
    TempFolder dir;
    CLog* log = CLog::Restart(dir.Path() + "/");
    log->LogParseRule(true);
    log->LogParseMethod(false);
    log->LogStep("holds ITEM_00003 here", true);
    log->LogWriteFile("GlobalCode", ".cls", true);
    log->LogRegisterCode("Rule", "CheckLimits");
    log->LogComEntryCode("Event", "Event");
    log->LogImplementCode("Sort", "ByTemp");
    EXPECT_EQ(MaskTimes(LogText(log)),
              WithCrLf("T ----> Parse Rule Node ----> Success!\n"
                       "T ----> Parse Method Node ----> Fail!\n"
                       "T ----> holds Success! here ----> Success!\n"
                       "T ----> Write GlobalCode to VB .cls file. ----> Success!\n"
                       "T ---->Generate Register code for DataServiceImpl.cls for Rule : CheckLimits\n"
                       "T ---->Generate COM Entry code for DataServiceImpl.cls for Event : Event\n"
                       "T ---->Generate Implement code for KBRoutine.bas for Sort : ByTemp\n"));
}

TEST(LogKindFlags, OnlyExactKindWordsSetTheirFlag)
{
    CLog* log = CLog::Restart(std::nullopt);
    log->LogRegisterCode("Rule", "r");
    log->LogRegisterCode("Sort", "s");
    log->LogRegisterCode("rule", "r");
    log->LogComEntryCode("Method", "m");
    log->LogImplementCode("Demon", "d");
    EXPECT_TRUE(log->hasRule);
    EXPECT_TRUE(log->hasSort);
    EXPECT_FALSE(log->hasMethod);
    EXPECT_FALSE(log->hasDemon);
    EXPECT_FALSE(log->hasEvent);
    EXPECT_FALSE(log->hasFilter);

    // A new conversion starts with cleared flags.
    EXPECT_FALSE(CLog::Restart(std::nullopt)->hasRule);
}

TEST(LogFile, AFolderThatTakesNoFileCostsTheLinesButNotTheFlags)
{
    TempFolder dir;
    // A missing folder fails for root as well, unlike a read-only one.
    CLog* log = CLog::Restart(dir / "missing/");
    EXPECT_FALSE(log->HasFile());
    log->BeginConversion("x");
    log->LogParseRule(true);
    log->LogRegisterCode("Event", "Event");
    EXPECT_TRUE(log->hasEvent);
    EXPECT_TRUE(ListFolder(dir.Path()).empty());
}

TEST(LogFile, AProgramInAFolderOfTheSystemLogsInTheUsersFolder)
{
    TempFolder dir;
    CLog* log = CLog::Restart(CProgramFolders{dir.Path() + "/", dir / "user/", "", true});
    log->BeginConversion("x");
    EXPECT_EQ(ListFolder(dir.Path()), std::vector<std::string>{"user"});
    EXPECT_EQ(ListFolder(dir / "user").size(), 1u);
    CLog::Restart(std::nullopt);
}

TEST(LogFile, ConversionsInOneSecondKeepEveryLog)
{
    TempFolder dir;
    std::vector<std::string> paths;
    for (int i = 0; i < 3; ++i) {
        CLog* log = CLog::Restart(dir.Path() + "/");
        log->BeginConversion("rule" + std::to_string(i));
        paths.push_back(log->FilePath());
    }
    CLog::Restart(std::nullopt);
    ASSERT_EQ(ListFolder(dir.Path()).size(), 3u);
    for (int i = 0; i < 3; ++i)
        EXPECT_NE(ReadFileBytes(paths[i]).find("rule" + std::to_string(i)), std::string::npos);
    // Named by the time, then " (2)", " (3)" when a name is taken.
    std::regex name(R"(.*/\d{4}-\d{2}-\d{2} \d{2}\.\d{2}\.\d{2}( \(\d+\))?\.txt)");
    for (const std::string& path : paths)
        EXPECT_TRUE(std::regex_match(path, name)) << path;
}

TEST(LogFile, InstanceCreatesALogOnlyWhenThereIsNone)
{
    CLog* first = CLog::Restart(std::nullopt);
    EXPECT_EQ(CLog::Instance(), first);
    CLog* second = CLog::Restart(std::nullopt);
    EXPECT_EQ(CLog::Instance(), second);
}
