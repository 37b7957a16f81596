#include <gtest/gtest.h>

#include "TestSupport.h"

namespace {

constexpr const char* kUsage =
    "Usage: " RULECAST_PROGRAM_NAME " [param1] [param2].\n"
    "         param1: the file name of .pxkbx file, you can use \"*\" in the file name.\n"
    "         param2: the target path of the conversion.\n"
    "         -h, --help: print this text and exit.\n"
    "         -V, --version: print the program's version and exit.\n"
    "         --: end of the options; a pattern after it may start with \"-\".\n";

// The real program, copied into a folder of its own so that its log files land there.
struct Program {
    TempFolder home;
    TempFolder work;
    std::string path = CopyProgram(home.Path());

    RunResult Run(const std::vector<std::string>& args) { return RunProgram(path, args, work.Path()); }
    // The log files: everything in the program's folder but the program.
    size_t LogCount() const { return ListFolder(home.Path()).size() - 1; }
};

}  // namespace

TEST(AppCommandLine, OptionsAndArgumentCounts)
{
    struct Case {
        const char* behaviour;
        std::vector<std::string> args;
        int exitCode;
        std::string out;  // "usage": the whole usage text
        std::string err;
    };
    const std::string usage = kUsage;
    const Case cases[] = {
        {"--help prints the usage", {"--help"}, 0, "usage", ""},
        {"-h too, whatever follows", {"-h", "a", "b", "c"}, 0, "usage", ""},
        {"--version", {"--version"}, 0, "rulecast 1.1.0\n", ""},
        {"-V", {"-V"}, 0, "rulecast 1.1.0\n", ""},
        {"an unknown option", {"--frobnicate", "a", "b"}, 2, "", "rulecast: unknown option '--frobnicate'\n" + usage},
        {"a lone dash is an option too", {"-", "b"}, 2, "", "rulecast: unknown option '-'\n" + usage},
        {"after -- a pattern may start with a dash", {"--", "-x*.pxkbx", "out"}, 2, "", "Cannot find the .pxkbx file.\n"},
        {"one argument", {"a"}, 2, "", usage},
        {"three arguments", {"a", "b", "c"}, 2, "", usage},
        {"options do not count as arguments", {"a", "--", "b", "c"}, 2, "", usage},
    };
    Program program;
    for (const Case& c : cases) {
        RunResult result = program.Run(c.args);
        EXPECT_EQ(result.exitCode, c.exitCode) << c.behaviour;
        EXPECT_EQ(result.out, c.out == "usage" ? usage : c.out) << c.behaviour;
        EXPECT_EQ(result.err, c.err) << c.behaviour;
    }
    EXPECT_EQ(program.LogCount(), 0u);
}

TEST(AppCommandLine, NoArgumentsWithoutADisplayExplainsHowToConvert)
{
    Program program;
    // No display of any kind: a start without arguments must not wait for a window.
    UnsetEnv("DISPLAY");
    UnsetEnv("WAYLAND_DISPLAY");
    UnsetEnv("QT_QPA_PLATFORM");
    RunResult result = program.Run({});
    EXPECT_EQ(result.exitCode, 2);
    ASSERT_GE(result.err.size(), std::string(kUsage).size());
    EXPECT_EQ(result.err.substr(result.err.size() - std::string(kUsage).size()), kUsage);
    EXPECT_NE(result.err.find("two arguments"), std::string::npos) << result.err;
    EXPECT_EQ(program.LogCount(), 0u);
}

TEST(AppCommandLine, ThePatternIsTestedBeforeTheTarget)
{
    Program program;
    RunResult result = program.Run({"nothing-*.pxkbx", "missing-target"});
    EXPECT_EQ(result.exitCode, 2);
    EXPECT_EQ(result.err, "Cannot find the .pxkbx file.\n");

    WriteFileBytes(program.work / "a.pxkbx", "");
    result = program.Run({"*.pxkbx", "missing-target"});
    EXPECT_EQ(result.exitCode, 2);
    EXPECT_EQ(result.err, "Cannot find the target folder.\n");
    EXPECT_EQ(program.LogCount(), 0u);
}

TEST(AppCommandLine, AFileAsTargetPassesAndAFailedConversionExitsOne)
{
    Program program;
    WriteFileBytes(program.work / "broken.pxkbx", "<not xml");
    WriteFileBytes(program.work / "target-file", "");
    RunResult result = program.Run({"broken.pxkbx", "target-file"});
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_NE(result.err.find("Error occurs during conversion! Please check the log file.\n"),
              std::string::npos);
    ASSERT_EQ(program.LogCount(), 1u);
    std::string log;
    for (const std::string& name : ListFolder(program.home.Path()))
        if (name != kProgramFileName)
            log = ReadFileBytes(program.home / name);
    EXPECT_NE(log.find("Begin to convert " + program.work.Path() + "/broken.pxkbx  "),
              std::string::npos);
    EXPECT_EQ(log.find("Finish to convert"), std::string::npos);
}
