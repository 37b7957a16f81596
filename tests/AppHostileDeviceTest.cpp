// A pipe or a device among the rule files must neither hang the batch nor exhaust its memory; a
// full device among the generated files fails the conversion and says why.
#include <gtest/gtest.h>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>

#include "TestSupport.h"
#include "app/ConvertHelper.h"
#include "dialog/TargetFolderConfig.h"
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
    CConvertHelper helper(nullptr, CProgramFolders{app.Path() + "/", "", ""});
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

// A reader that went away fails a write like a full disk, and the batch goes on; a stream closed
// at the start takes none of the program's files in its place.
TEST(AppHostileDevice, AClosedPipeIsAWriteErrorAndAClosedStreamTakesNoFile)
{
    const struct Row {
        const char* behaviour;
        const char* script;  // $0 is the program
        std::string out;
    } rows[] = {
        // The reader closes its end and only then lets the batch start.
        {"errors into a closed pipe",
         "mkfifo go; exec 3>&1; { read x <go; \"$0\" '*.pxkbx' target 2>&1 >&3; echo \"status $?\" >&3; } |"
         " { exec <&-; echo >go; }",
         "rulecast: write error: Broken pipe\nstatus 1\n"},
        {"standard output closed", "\"$0\" b-good.pxkbx target >&-; echo \"status $?\"", "status 0\n"},
        {"standard error closed", "\"$0\" '*.pxkbx' target 2>&-; echo \"status $?\"", "status 1\n"},
    };
    for (const Row& row : rows) {
        Program program;
        program.WriteRule("a-broken.pxkbx", "<Rules");
        program.WriteRule("b-good.pxkbx", "<Rules name=\"Good\"/>\n");
        const RunResult result = RunProgram("/bin/sh", {"-c", row.script, program.Executable()}, program.WorkFolder());
        EXPECT_EQ(result.out, row.out) << row.behaviour << "\n" << result.err;
        EXPECT_EQ(ListFolder(program.Target()), std::vector<std::string>{"Good"}) << row.behaviour;
        for (const std::string& log : program.Logs()) {
            EXPECT_EQ(log.find(hostile::kFailedSummary), std::string::npos) << row.behaviour << "\n" << log;
            EXPECT_EQ(log.find("successfully"), std::string::npos) << row.behaviour << "\n" << log;
        }
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

// A display that takes the connection and never answers (a stopped X server) must not keep the
// dialog waiting: it gives up, says so and exits as without a display.
TEST(AppHostileDevice, ADisplayThatNeverAnswersIsGivenUp)
{
    // A build without the dialog never reaches the display.
    if (!PlatformHas(Need::kQtDialog) || !RULECAST_DIALOG_BUILT)
        GTEST_SKIP();
    // An X display's TCP port, whose connections the kernel takes with nobody reading them.
    const int listener = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    int display = 100;
    for (; display < 200; ++display) {
        address.sin_port = htons(static_cast<uint16_t>(6000 + display));
        if (::bind(listener, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0)
            break;
    }
    ASSERT_LT(display, 200);
    ASSERT_EQ(::listen(listener, 8), 0);
    Program program;
    Limits limits;
    limits.seconds = 30;
    limits.environment = {"DISPLAY=127.0.0.1:" + std::to_string(display), "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"};
    const Outcome outcome = program.Run({}, limits);
    ::close(listener);
    EXPECT_FALSE(outcome.timedOut);
    EXPECT_EQ(outcome.exitCode, 2) << outcome.err;
    EXPECT_LT(outcome.seconds, 8);
    EXPECT_EQ(outcome.err.rfind("Rulecast: the display did not answer within 5 seconds.\n", 0), 0u) << outcome.err;
}
