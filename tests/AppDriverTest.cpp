#include <gtest/gtest.h>

#include "TestSupport.h"
#include "app/Batch.h"
#include "app/ConvertHelper.h"
#include "hostile/HostileProgram.h"
#include "kbfile/KBReaderError.h"
#include "platform/FileSystem.h"

namespace {

// What the test readers were given, one entry per conversion.
struct Call {
    std::string rulePath;
    std::string targetFolder;
};

// A reader whose steps succeed unless the rule path names the step that should fail.
class ScriptedReader : public CKBReader {
public:
    explicit ScriptedReader(std::vector<Call>& calls) : calls_(calls) {}
    bool LoadModule(std::string rulePath, std::string targetFolder) override
    {
        calls_.push_back({rulePath, targetFolder});
        rulePath_ = rulePath;
        return !Names("fail-load");
    }
    bool ReadItems() override
    {
        if (Names("throw-read"))
            throw CKBReaderError(CKBReaderError::kInvalidPointer, "missing node", 7);
        return !Names("fail-read");
    }
    bool BuildProject() override { return !Names("fail-build"); }

private:
    bool Names(const char* word) const { return rulePath_.find(word) != std::string::npos; }
    std::vector<Call>& calls_;
    std::string rulePath_;
};

struct Batch {
    TempFolder app;
    std::vector<Call> calls;
    CConvertHelper helper{[this] { return std::make_unique<ScriptedReader>(calls); },
                          CProgramFolders{app.Path() + "/", "", ""}};

    int Run(const std::string& pattern, const std::string& targetFolder)
    {
        return CBatch(helper).Run(pattern, targetFolder);
    }
    std::vector<std::string> Logs() const
    {
        std::vector<std::string> texts;
        for (const std::string& name : ListFolder(app.Path()))
            texts.push_back(ReadFileBytes(app / name));
        return texts;
    }
};

bool HasFinishBanner(const std::string& log)
{
    return log.find("Finish to convert") != std::string::npos;
}

}  // namespace

TEST(AppBatch, EveryFileIsConvertedAndOneFailureMakesTheErrorSummary)
{
    Batch batch;
    TempFolder rules;
    for (const char* name : {"1-good.pxkbx", "2-fail-read.pxkbx", "3-good.pxkbx"})
        WriteFileBytes(rules / name, "");

    testing::internal::CaptureStderr();
    int status = batch.Run(rules.Path() + "/*.pxkbx", rules.Path());
    std::string err = testing::internal::GetCapturedStderr();

    EXPECT_EQ(status, CBatch::kConversionFailed);
    // A reader that gives no reason still gets a line naming the file, and a note naming its log.
    const std::string failed = rules / "2-fail-read.pxkbx";
    std::string failedLog;
    for (const std::string& name : ListFolder(batch.app.Path()))
        if (ReadFileBytes(batch.app / name).find(failed) != std::string::npos)
            failedLog = batch.app / name;
    EXPECT_EQ(err, failed + ": error: the conversion failed\n" + failed + ": note: log file " + failedLog +
                       "\nError occurs during conversion! Please check the log file.\n");
    ASSERT_EQ(batch.calls.size(), 3u);
    std::vector<std::string> logs = batch.Logs();
    ASSERT_EQ(logs.size(), 3u);
    int finished = 0;
    for (const std::string& log : logs) {
        EXPECT_NE(log.find("Begin to convert"), std::string::npos);
        finished += HasFinishBanner(log);
        if (log.find("2-fail-read") != std::string::npos) {
            EXPECT_FALSE(HasFinishBanner(log));
        }
    }
    EXPECT_EQ(finished, 2);
}

TEST(AppBatch, AllConvertedGivesTheSuccessSummaryOnStandardOutput)
{
    Batch batch;
    TempFolder rules;
    WriteFileBytes(rules / "a.pxkbx", "");
    testing::internal::CaptureStdout();
    int status = batch.Run(rules / "a.pxkbx", rules.Path());
    EXPECT_EQ(testing::internal::GetCapturedStdout(),
              "The file has been Converted to VB project successfully!\n");
    EXPECT_EQ(status, CBatch::kAllConverted);
}

TEST(AppBatch, AReaderErrorFailsOnlyItsOwnFile)
{
    Batch batch;
    TempFolder rules;
    WriteFileBytes(rules / "a-throw-read.pxkbx", "");
    WriteFileBytes(rules / "b.pxkbx", "");
    ASSERT_TRUE(MakeFolder(rules / "sub"));
    testing::internal::CaptureStderr();
    EXPECT_EQ(batch.Run(rules.Path() + "/*", rules.Path()), CBatch::kConversionFailed);
    testing::internal::GetCapturedStderr();
    // The two files alone: a bare "*" passes over the folder's own entries and its sub-folder.
    ASSERT_EQ(batch.calls.size(), 2u);
    EXPECT_EQ(batch.calls[1].rulePath, rules.Path() + "/b.pxkbx");
    int finished = 0;
    for (const std::string& log : batch.Logs())
        finished += HasFinishBanner(log);
    EXPECT_EQ(finished, 1);
}

TEST(AppBatch, RelativePatternBecomesAbsoluteWhileTheTargetStaysAsTyped)
{
    Batch batch;
    TempFolder work;
    ASSERT_TRUE(MakeFolder(work / "rules"));
    WriteFileBytes(work / "rules/a.pxkbx", "");
    std::string before = CFileSystem::CurrentFolder();
    ASSERT_TRUE(ChangeFolder(work.Path()));
    testing::internal::CaptureStdout();
    int status = batch.Run("rules/*.pxkbx", "./rules/");
    testing::internal::GetCapturedStdout();
    std::string cwd = CFileSystem::CurrentFolder();
    ASSERT_TRUE(ChangeFolder(before));

    EXPECT_EQ(status, CBatch::kAllConverted);
    ASSERT_EQ(batch.calls.size(), 1u);
    EXPECT_EQ(batch.calls[0].rulePath, JoinedPath(cwd, "rules/a.pxkbx"));
    EXPECT_EQ(batch.calls[0].targetFolder, "./rules/");
}

TEST(AppBatch, ALoadFailureLeavesTheBeginBannerAndTheReason)
{
    Batch batch;
    EXPECT_FALSE(batch.helper.ConvertFile("/r/fail-load.pxkbx", "/t"));
    std::vector<std::string> logs = batch.Logs();
    ASSERT_EQ(logs.size(), 1u);
    EXPECT_EQ(hostile::WithoutFailureLine(logs[0], "/r/fail-load.pxkbx: error: the conversion failed"),
              WithCrLf(std::string(26, '-') + "  Begin to convert /r/fail-load.pxkbx  " + std::string(38, '-') + "\n"));
}
