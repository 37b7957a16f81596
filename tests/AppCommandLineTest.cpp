#include <gtest/gtest.h>

#include <algorithm>
#include <optional>
#include <sstream>

#include "TestSupport.h"
#include "app/CommandLine.h"
#include "platform/TextEncoder.h"

namespace {

// The usage text as tests/golden/usage.txt holds it for Linux, with this machine's program name and
// default code page: the ANSI code page on Windows.
std::string Usage()
{
    std::string usage = ReadFileBytes(RULECAST_SOURCE_DIR "/tests/golden/usage.txt");
    const std::string program = "rulecast";
    const std::string codePage = "default UTF-8";
    if (const size_t at = usage.find(program); at != std::string::npos)
        usage.replace(at, program.size(), RULECAST_PROGRAM_NAME);
    if (const size_t at = usage.find(codePage); at != std::string::npos)
        usage.replace(at, codePage.size(), "default " + CTextEncoder::DefaultCodePage());
    return usage;
}

// The real program, copied into a folder of its own so that its log files land there.
struct Program {
    TempFolder home;
    TempFolder work;
    std::string path = CopyProgram(home.Path());

    RunResult Run(const std::vector<std::string>& args, const RunLimits& limits = {})
    {
        return RunProgram(path, args, work.Path(), limits);
    }
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
    const std::string usage = Usage();
    const Case cases[] = {
        {"--help prints the usage (scripts/regen-golden.sh writes tests/golden/usage.txt)", {"--help"}, 0, "usage", ""},
        {"-h too, whatever follows", {"-h", "a", "b", "c"}, 0, "usage", ""},
        {"--version", {"--version"}, 0, "rulecast 1.2.0\n", ""},
        {"-V", {"-V"}, 0, "rulecast 1.2.0\n", ""},
        {"an unknown option", {"--frobnicate", "a", "b"}, 2, "", "rulecast: unknown option '--frobnicate'\n" + usage},
        {"a lone dash is an option too", {"-", "b"}, 2, "", "rulecast: unknown option '-'\n" + usage},
        {"an unknown code page", {"--codepage", "1234", "a", "b"}, 2, "", "rulecast: unknown code page '1234'\n" + usage},
        {"a code page that turns on best-fit", {"--codepage=CP1252//TRANSLIT", "a", "b"}, 2, "",
         "rulecast: unknown code page 'CP1252//TRANSLIT'\n" + usage},
        {"--codepage without its value", {"a", "b", "--codepage"}, 2, "",
         "rulecast: option '--codepage' needs a value\n" + usage},
        {"--codepage takes its value, even one that looks like an option", {"--codepage", "-V", "a", "b"}, 2, "",
         "rulecast: unknown code page '-V'\n" + usage},
        {"after -- a pattern may start with a dash", {"--", "-x*.pxkbx", "out"}, 2, "",
         "Cannot find the .pxkbx file.\nrulecast: note: no such file: -x*.pxkbx\n"},
        {"one argument", {"a"}, 2, "", usage},
        {"three arguments", {"a", "b", "c"}, 2, "", usage},
        {"options do not count as arguments", {"a", "--", "b", "c"}, 2, "", usage},
        {"--no-warnings is an option, not an argument", {"--no-warnings", "a"}, 2, "", usage},
        {"--dialog opens with one rule file at most", {"--dialog", "a", "b"}, 2, "",
         "rulecast: option '--dialog' takes one rule file at most\n" + usage},
        {"--check takes the pattern alone", {"--check", "a", "b"}, 2, "", usage},
        {"--lsp takes no arguments", {"--lsp", "a"}, 2, "", "rulecast: option '--lsp' takes no arguments\n" + usage},
        {"--stdio means something after --lsp only", {"--stdio", "--lsp"}, 2, "", "rulecast: unknown option '--stdio'\n" + usage},
        {"--check without a pattern", {"--check"}, 2, "", usage},
        {"--check of a pattern that finds nothing", {"--check", "missing*.pxkbx"}, 2, "",
         "Cannot find the .pxkbx file.\nrulecast: note: no such file: missing*.pxkbx\n"},
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

TEST(AppCommandLine, TheCodePageDecidesTheBytesOfTheProject)
{
    struct Case {
        const char* behaviour;
        std::vector<std::string> options;
        std::string routine;  // the line of KBRoutine.bas between the routine's first and last
        std::string err;
    };
    const std::string utf8 = "  x = \"Gr\xC3\xBC\xC3\x9F" "e \xC5\x81\xC3\xB3" "d\xC5\xBA \xE6\x97\xA5\"\r\n";
    const Case cases[] = {
        {"the machine's code page without the option", {}, "", ""},
        {"UTF-8 given by name", {"--codepage=UTF-8"}, utf8, ""},
        {"UTF-8 given by number", {"--codepage", "65001"}, utf8, ""},
        {"characters without a place become '?', with a warning", {"--codepage=1252"},
         "  x = \"Gr\xFC\xDF" "e ?\xF3" "d? ?\"\r\n",
         "RULE: warning: 3 characters have no place in code page 1252 and were written as '?'\n"},
        {"a code page of two-byte characters", {"--codepage=932"}, "  x = \"Gr??e ??d? \x93\xFA\"\r\n",
         "RULE: warning: 5 characters have no place in code page 932 and were written as '?'\n"},
    };
    Program program;
    WriteFileBytes(program.work / "rule.pxkbx",
                   "<kb name=\"P\"><Rule name=\"R\" displayname=\"\" interactive=\"\" secure=\"\" casefixed=\"\">"
                   "<![CDATA[Sub R()\n  x = \"Gr\xC3\xBC\xC3\x9F" "e \xC5\x81\xC3\xB3" "d\xC5\xBA \xE6\x97\xA5\"\nEnd Sub\n]]></Rule></kb>");
    // Without the option the project is written as with the machine's code page named.
    const std::vector<std::string> machine = {"--codepage=" + CTextEncoder::DefaultCodePage()};
    const auto named = std::find_if(std::begin(cases), std::end(cases), [&](const Case& c) { return c.options == machine; });
    ASSERT_NE(named, std::end(cases)) << "no row names the machine's code page " << machine[0];
    for (const Case& row : cases) {
        const Case& c = row.options.empty() ? *named : row;
        std::vector<std::string> args = row.options;
        args.insert(args.end(), {"rule.pxkbx", "."});
        RunResult result = program.Run(args);
        EXPECT_EQ(result.exitCode, 0) << row.behaviour;
        std::string err = c.err;
        if (!err.empty())
            err.replace(0, 4, JoinedPath(program.work.Path(), "rule.pxkbx"));
        EXPECT_EQ(result.err, err) << row.behaviour;
        EXPECT_EQ(ReadFileBytes(program.work / "P/KBRoutine.bas"),
                  "Attribute VB_Name = KBRoutine\r\nSub R()\r\n" + c.routine + "End Sub\r\n")
            << row.behaviour;
    }
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
    const std::string usage = Usage();
    ASSERT_GE(result.err.size(), usage.size());
    EXPECT_EQ(result.err.substr(result.err.size() - usage.size()), usage);
    EXPECT_NE(result.err.find("two arguments"), std::string::npos) << result.err;
    EXPECT_EQ(program.LogCount(), 0u);
    if (!PlatformHas(Need::kQtDialog))
        return;
    // A display that does not answer: Rulecast's line comes first, before any of Qt's own.
    SetEnv("DISPLAY", ":7391");
    result = program.Run({});
    UnsetEnv("DISPLAY");
    EXPECT_EQ(result.exitCode, 2);
    EXPECT_EQ(result.err.rfind("Rulecast: ", 0), 0u) << result.err;
}

// What the batch looks for, and the path it names when it finds nothing there.
TEST(AppCommandLine, ThePatternAndTheTargetAreFoundAsTheSystemFindsThem)
{
    struct Row {
        const char* behaviour;
        std::vector<std::string> args;  // TARGET stands for the absolute target, \\?\ before it
        int exitCode;
        std::string err;
        std::optional<Need> needs = std::nullopt;
        RunLimits limits = {};
    };
    const std::string slow = "Slow rule file.pxkbx";
    Program program;
    // "C:" where the work folder is, whose current folder the program starts in.
    const std::string drive = program.work.Path().substr(0, 2);
    WriteFileBytes(program.work / "a.pxkbx", "<R name=\"P\"/>");
    WriteFileBytes(program.work / slow, "<R name=\"P\"/>");
    ASSERT_TRUE(MakeFolder(program.work / "target"));
    const std::vector<Row> rows = {
        {"the pattern is tested first", {"nothing-*.pxkbx", "missing-target"}, 2,
         "Cannot find the .pxkbx file.\nrulecast: note: no such file: nothing-*.pxkbx\n"},
        {"a missing target", {"*.pxkbx", "missing-target"}, 2,
         "Cannot find the target folder.\nrulecast: note: no such folder: missing-target\n"},
        {"a file as target", {"a.pxkbx", slow}, 2,
         "Cannot find the target folder.\nrulecast: note: not a folder: " + slow + "\n"},
        {"a folder as pattern", {"target", "target"}, 2,
         "Cannot find the .pxkbx file.\nrulecast: note: is a folder: target\n"},
        {"a drive-relative name", {drive + "a.pxkbx", "target"}, 0, "", Need::kWindowsPaths},
        {"a drive-relative pattern", {drive + "a*.pxkbx", "target"}, 0, "", Need::kWindowsPaths},
        {"the short 8.3 name", {ShortName(program.work / slow), "target"}, 0, "", Need::kWindowsPaths},
        {"a target past the length limit's prefix", {"a.pxkbx", "\\\\?\\" + SystemPath(program.work / "target")}, 0, "",
         Need::kWindowsPaths},
        // Without a console, as here, in UTF-8; with one, in its code page.
        {"redirected: CR LF", {"\xC3\x84*.pxkbx", "target"}, 2,
         "Cannot find the .pxkbx file.\r\nrulecast: note: no such file: \xC3\x84*.pxkbx\r\n", Need::kWindowsPaths,
         {.keepLineEnds = true}},
    };
    for (const Row& row : rows) {
        if (row.needs && !PlatformHas(*row.needs))
            continue;
        const RunResult result = program.Run(row.args, row.limits);
        EXPECT_EQ(result.exitCode, row.exitCode) << row.behaviour << "\n" << result.err;
        EXPECT_EQ(result.err, row.err) << row.behaviour;
    }
    const bool converted = PlatformHas(Need::kWindowsPaths);
    EXPECT_EQ(ListFolder(program.work / "target"), converted ? std::vector<std::string>{"P"} : std::vector<std::string>{});
}

TEST(AppCommandLine, AFailedConversionExitsOne)
{
    Program program;
    WriteFileBytes(program.work / "broken.pxkbx", "<not xml");
    ASSERT_TRUE(MakeFolder(program.work / "target"));
    RunResult result = program.Run({"broken.pxkbx", "target"});
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_NE(result.err.find("Error occurs during conversion! Please check the log file.\n"),
              std::string::npos);
    ASSERT_EQ(program.LogCount(), 1u);
    std::string log;
    for (const std::string& name : ListFolder(program.home.Path()))
        if (name != kProgramFileName)
            log = ReadFileBytes(program.home / name);
    EXPECT_NE(log.find("Begin to convert " + SystemPath(program.work.Path() + "/broken.pxkbx") + "  "),
              std::string::npos);
    EXPECT_EQ(log.find("Finish to convert"), std::string::npos);
}

// A check reads every file that the pattern finds and says what converting it would, and writes
// neither a project nor a log.
TEST(AppCommandLine, CheckReportsErrorsAndWarningsAndWritesNothing)
{
    const std::string clean = "<Rules name=\"P\">\n<Rule name=\"R\" displayname=\"r\" interactive=\"true\" "
                              "secure=\"true\" casefixed=\"true\"><![CDATA[Function R(a)\nEnd Function\n]]></Rule>\n</Rules>\n";
    std::string faulty = clean;
    faulty.replace(faulty.find("End Function"), 0, "If a Then\n");
    struct Case {
        const char* behaviour;
        std::vector<std::string> files;
        std::vector<std::string> args;
        int exitCode;
        std::vector<std::string> err;  // the lines, each after "<work folder>/"
    };
    const Case cases[] = {
        {"a clean file", {clean}, {"--check", "*.pxkbx"}, 0, {}},
        {"a VB6 compile error is a warning, which fails the check", {clean, faulty}, {"--check", "*.pxkbx"}, 1,
         {"rule2.pxkbx:3: warning: VB6 compile error: Block If without End If"}},
        {"--no-warnings leaves errors alone to fail it", {faulty}, {"--no-warnings", "--check", "*.pxkbx"}, 0, {}},
        {"an error, and the files after it are read too", {"<not xml", faulty}, {"--check", "*.pxkbx"}, 1,
         {"rule1.pxkbx:1: error: ", "rule2.pxkbx:3: warning: VB6 compile error: Block If without End If"}},
    };
    for (const Case& c : cases) {
        Program program;
        for (size_t i = 0; i < c.files.size(); ++i)
            WriteFileBytes(program.work / ("rule" + std::to_string(i + 1) + ".pxkbx"), c.files[i]);
        const std::vector<std::string> before = ListFolder(program.work.Path());
        RunResult result = program.Run(c.args);
        EXPECT_EQ(result.exitCode, c.exitCode) << c.behaviour;
        EXPECT_EQ(result.out, "") << c.behaviour;
        std::istringstream lines(result.err);
        size_t n = 0;
        for (std::string line; std::getline(lines, line); ++n) {
            ASSERT_LT(n, c.err.size()) << c.behaviour << ": " << line;
            EXPECT_EQ(line.rfind(JoinedPath(program.work.Path(), c.err[n]), 0), 0u) << c.behaviour << ": " << line;
        }
        EXPECT_EQ(n, c.err.size()) << c.behaviour;
        EXPECT_EQ(ListFolder(program.work.Path()), before) << c.behaviour;
        EXPECT_EQ(program.LogCount(), 0u) << c.behaviour;
    }
}

// Every option that --help lists is described in the manual page's OPTIONS and in the README.
TEST(AppCommandLine, EveryOptionOfTheUsageIsDocumented)
{
    std::string manual = ReadFileBytes(RULECAST_SOURCE_DIR "/doc/rulecast.1");
    for (size_t at; (at = manual.find("\\-")) != std::string::npos;)
        manual.erase(at, 1);
    const size_t options = manual.find("\n.SH OPTIONS\n");
    ASSERT_NE(options, std::string::npos);
    manual = manual.substr(options, manual.find("\n.SH ", options + 1) - options);
    const std::string readme = ReadFileBytes(RULECAST_SOURCE_DIR "/README.md");
    std::istringstream usage(CCommandLine::Usage());
    int documented = 0;
    for (std::string line; std::getline(usage, line);) {
        // An option's line: nine spaces, then its spellings up to ": ".
        if (line.rfind("         -", 0) != 0)
            continue;
        std::istringstream spellings(line.substr(9, line.find(": ") - 9));
        for (std::string option; std::getline(spellings >> std::ws, option, ',');) {
            option.erase(std::min(option.find(' '), option.size()));  // "--codepage CP": the option's word
            EXPECT_TRUE(manual.find(" " + option + " ") != std::string::npos ||
                        manual.find(" " + option + "\n") != std::string::npos)
                << option << " is not in the manual page's OPTIONS";
            EXPECT_NE(readme.find("`" + option + "`"), std::string::npos) << option << " is not in the README";
            ++documented;
        }
    }
    EXPECT_GE(documented, 5);
}
