// A pipe or a device among the rule files must neither hang the batch nor exhaust its memory; a
// full device among the generated files fails the conversion and says why.
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>

#include "TestSupport.h"
#include "app/ConvertHelper.h"
#include "app/TargetFolderConfig.h"
#include "hostile/HostileProgram.h"
#include "vbproject/VBModule.h"

using hostile::Limits;
using hostile::Outcome;
using hostile::Program;
namespace fs = std::filesystem;

TEST(AppHostileDevice, ANamedPipeFailsAtOnceAndAPatternPassesOverIt)
{
    Program program;
    ASSERT_EQ(::mkfifo(program.Work("a-pipe.pxkbx").c_str(), 0666), 0);
    program.WriteRule("b-good.pxkbx", "<Rules name=\"Good\"/>\n");
    Limits limits;
    limits.seconds = 30;
    Outcome outcome = program.Convert("a-pipe.pxkbx", limits);
    EXPECT_FALSE(outcome.timedOut);
    EXPECT_EQ(outcome.exitCode, 1);
    const std::string pipe = program.Work("a-pipe.pxkbx");
    EXPECT_EQ(outcome.err, pipe + ": error: cannot read " + pipe + ": not a regular file\n" + pipe +
                               ": note: log file " + program.LogOf(pipe) + "\n" + hostile::kFailedSummary + "\n");
    outcome = program.Convert("*.pxkbx", limits);
    EXPECT_EQ(outcome.exitCode, 0) << outcome.err;
    EXPECT_EQ(ListFolder(program.Target()), std::vector<std::string>{"Good"});
}

// config.txt is read only when it is a file, and saved by replacing it whole.
TEST(AppHostileDevice, ConfigTxtIsNeitherAPipeNorADeviceNorALinkWrittenThrough)
{
    TempFolder app, outside;
    const std::string config = app / "config.txt";
    CConvertHelper helper(nullptr, app.Path() + "/");
    const CTargetFolderConfig remembered(helper.Folders());
    std::string target;
    ASSERT_EQ(::mkfifo(config.c_str(), 0666), 0);
    remembered.Load(target, "documents");
    EXPECT_EQ(target, "documents");
    fs::remove(config);
    fs::create_symlink("/dev/zero", config);
    target.clear();
    remembered.Load(target, "documents");
    EXPECT_EQ(target, "documents");
    fs::remove(config);
    WriteFileBytes(outside / "profile", "mine\n");
    fs::create_symlink(outside / "profile", config);
    EXPECT_TRUE(remembered.Save("/srv/projects"));
    EXPECT_EQ(ReadFileBytes(outside / "profile"), "mine\n");
    EXPECT_FALSE(fs::is_symlink(config));
    EXPECT_EQ(ReadFileBytes(config), "/srv/projects\r\n");
}

// A write to standard output or error that fails is said on the other stream and fails the run.
TEST(AppHostileDevice, AFullStandardStreamIsAWriteError)
{
    const struct Row {
        const char* redirection;
        int exitCode;
        std::string out, err;
    } rows[] = {
        {"--version >/dev/full", 1, "", "rulecast: write error: No space left on device\n"},
        {"nothing-*.pxkbx . 2>/dev/full", 2, "rulecast: write error: No space left on device\n", ""},
    };
    for (const Row& row : rows) {
        const RunResult result =
            RunProgram("/bin/sh", {"-c", std::string("exec '" RULECAST_BINARY "' ") + row.redirection}, "/");
        EXPECT_EQ(result.exitCode, row.exitCode) << row.redirection;
        EXPECT_EQ(result.out, row.out) << row.redirection;
        EXPECT_EQ(result.err, row.err) << row.redirection;
    }
}

TEST(AppHostileDevice, AnEndlessDeviceIsNotRead)
{
    Program program;
    Limits limits;
    limits.seconds = 30;
    Outcome outcome = program.Convert("/dev/zero", limits);
    EXPECT_FALSE(outcome.timedOut);
    EXPECT_EQ(outcome.exitCode, 1);
    EXPECT_LT(outcome.maxRssKb, 100 * 1024);
    EXPECT_EQ(outcome.err, "/dev/zero: error: cannot read /dev/zero: not a regular file\n/dev/zero: note: log file " +
                               program.LogOf("/dev/zero") + "\n" + hostile::kFailedSummary + "\n");
}
