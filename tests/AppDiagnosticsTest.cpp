#include <gtest/gtest.h>

#include <filesystem>
#include <sys/stat.h>
#include <unistd.h>

#include "TestSupport.h"
#include "app/ConvertHelper.h"
#include "hostile/HostileProgram.h"
#include "kbfile/KBItemsConvertor.h"
#include "log/Log.h"

using hostile::ExpectCleanFailure;
using hostile::Program;

namespace {

struct Case {
    const char* name;
    const char* ruleFile;
    // What follows "<rule path>" on the error line.
    const char* where;
};

}  // namespace

// Each failed file gets one compiler-style line on standard error and a note naming its log,
// before the summary; the log ends with the same line.
TEST(AppDiagnostics, EveryFailureNamesItsReasonAndLine)
{
    const Case cases[] = {
        {"not-well-formed", "<Rules name=\"P\">\n<Rule a=\"1\" a=\"2\"/>\n</Rules>\n",
         ":2: error: Attribute a redefined"},
        {"empty", "", ":1: error: Document is empty"},
        {"external-entity",
         "<!DOCTYPE R [<!ENTITY x SYSTEM \"/etc/hostname\">]>\n<R name=\"P\">\n<GlobalCode>&x;</GlobalCode>\n</R>\n",
         ":3: error: failed to load external entity \"/etc/hostname\""},
        {"no-module-name", "<Rules>\n</Rules>\n", ":1: error: the root element has no attribute 'name'"},
        {"classblock-without-name", "<Rules name=\"P\">\n\n<Classblock/>\n</Rules>\n",
         ":3: error: a Classblock has no attribute 'name'"},
        {"method-without-secure",
         "<Rules name=\"P\">\n<Classblock name=\"Pump\">\n<Method name=\"Calc\" displayname=\"c\" "
         "interactive=\"true\" casefixed=\"true\"/>\n</Classblock>\n</Rules>\n",
         ":3: error: Method 'Calc' in class 'Pump' has no attribute 'secure'"},
        {"classlist-comment",
         "<Rules name=\"P\">\n<Filter name=\"F\" displayname=\"f\">\n<Classlist><!-- c --></Classlist>\n</Filter>\n</Rules>\n",
         ":3: error: Classlist entry is a comment, not an element with 'name'"},
        {"unsafe-module-name", "<Rules name=\"../x\"/>\n", ": error: unsafe module name '../x': it holds a path separator"},
        {"bytes-not-utf-8", "<R name=\"caf\xe9\"/>\n",
         ":1: error: Input is not proper UTF-8, indicate encoding ! Bytes: 0xE9 0x22 0x2F 0x3E"},
    };
    Program program;
    for (const Case& c : cases) {
        const std::string rule = std::string(c.name) + ".pxkbx";
        program.WriteRule(rule, c.ruleFile);
        const std::vector<std::string> outside = program.OutsideTarget();
        const RunResult result = program.Convert(rule);
        ExpectCleanFailure(program, result, rule, outside);
        EXPECT_EQ(result.err.substr(0, result.err.find('\n')), program.Work(rule) + c.where) << c.name;
        for (const std::string& log : program.LogPaths())
            std::filesystem::remove(log);
    }
    EXPECT_TRUE(ListFolder(program.Target()).empty());
}

TEST(AppDiagnostics, FilesThatCannotBeMadeOrWrittenSayWhy)
{
    Program program;
    program.WriteRule("Plant.pxkbx", "<Rules name=\"Plant\"/>\n");
    program.WriteRule("a-file", "");
    RunResult result = program.ConvertInto("Plant.pxkbx", "a-file");
    EXPECT_EQ(result.err.substr(0, result.err.find('\n')),
              program.Work("Plant.pxkbx: error: cannot create folder a-file/Plant: Not a directory"));

    ASSERT_EQ(::mkdir((program.Target() + "/Plant").c_str(), 0777), 0);
    ASSERT_EQ(::mkdir((program.Target() + "/Plant/KBRoutine.bas").c_str(), 0777), 0);
    result = program.ConvertInto("Plant.pxkbx", "target");
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_EQ(result.err.substr(0, result.err.find('\n')),
              program.Work("Plant.pxkbx: error: cannot write target/Plant/KBRoutine.bas: Is a directory"));
}

// A reason stays on its own line even in large rule files.
TEST(AppDiagnostics, LineNumbersStayRightPastSixtyFiveThousand)
{
    Program program;
    program.WriteRule("big.pxkbx", "<Rules name=\"P\">\n" + std::string(70000, '\n') + "<Sort name=\"S\"/>\n</Rules>\n");
    RunResult result = program.Convert("big.pxkbx");
    EXPECT_EQ(result.err.substr(0, result.err.find('\n')),
              program.Work("big.pxkbx:70002: error: Sort 'S' has no attribute 'displayname'"));
}

// Names and paths appear in a reason exactly as they are, whatever tokens they hold, and a line
// break or escape in them cannot start a line of its own.
TEST(AppDiagnostics, MessagesShowNamesAndPathsAsTheyAre)
{
    struct Row {
        const char* behaviour;
        std::string ruleFile;  // in the work folder
        const char* document;  // none: the file is not there
        std::string target;    // in the work folder
        std::string shown;     // the error line; WORK stands for the work folder
    };
    const std::vector<Row> rows = {
        {"a Method named like a token, in a class named like another", "m.pxkbx",
         "<R name=\"P\">\n<Classblock name=\"ITEM_00001\">\n<Method name=\"ITEM_00002\" displayname=\"\" "
         "interactive=\"true\" casefixed=\"true\"/></Classblock></R>",
         "out", "WORK/m.pxkbx:3: error: Method 'ITEM_00002' in class 'ITEM_00001' has no attribute 'secure'"},
        {"a rule file that cannot be read, in a folder named like a token", "ITEM_00002/a.pxkbx", nullptr, "out",
         "WORK/ITEM_00002/a.pxkbx: error: cannot read WORK/ITEM_00002/a.pxkbx: No such file or directory"},
        {"a list entry named like a token", "k.pxkbx",
         "<R name=\"P\"><Sort name=\"S\" displayname=\"\"><KeyList><ITEM_00002/></KeyList></Sort></R>", "out",
         "WORK/k.pxkbx:1: error: KeyList entry <ITEM_00002> has no attribute 'comparison_op'"},
        {"a name with line breaks", "n.pxkbx", "<R name=\"P\"><Rule name=\"a&#10;b&#13;\" displayname=\"\"/></R>",
         "out", "WORK/n.pxkbx:1: error: Rule 'a\\nb\\r' has no attribute 'interactive'"},
        {"a rule path with a line break and an escape", "b\n\x1b[2J.pxkbx", "", "out",
         "WORK/b\\n\\x1b[2J.pxkbx:1: error: Document is empty"},
        {"a target under a folder named like a token", "t.pxkbx", "<R name=\"P\"/>", "ITEM_00001/file",
         "WORK/t.pxkbx: error: cannot create folder WORK/ITEM_00001/file/P: Not a directory"},
    };
    TempFolder app, work;
    ASSERT_EQ(::mkdir((work / "ITEM_00001").c_str(), 0777), 0);
    ASSERT_EQ(::mkdir((work / "out").c_str(), 0777), 0);
    WriteFileBytes(work / "ITEM_00001/file", "");
    CConvertHelper converter([] { return std::make_unique<CKBItemsConvertor>(); }, app.Path() + "/");
    for (const Row& row : rows) {
        const std::string rulePath = work / row.ruleFile;
        if (row.document)
            WriteFileBytes(rulePath, row.document);
        EXPECT_FALSE(converter.ConvertFile(rulePath, work / row.target)) << row.behaviour;
        std::string shown = row.shown;
        for (size_t at; (at = shown.find("WORK")) != std::string::npos;)
            shown.replace(at, 4, work.Path());
        EXPECT_EQ(converter.FailureMessage(rulePath), shown) << row.behaviour;
        // The path as shown is what comes before the first colon.
        EXPECT_EQ(converter.LogNote(rulePath),
                  shown.substr(0, shown.find(':', work.Path().size())) + ": note: log file " + converter.LogPath())
            << row.behaviour;
        hostile::WithoutFailureLine(ReadFileBytes(converter.LogPath()), shown);
    }
    CLog::Restart(std::nullopt);
}

// An installed copy in a folder its user cannot write still leaves a log, in the user's state
// folder, and the failure's note names it there.
TEST(AppDiagnostics, AProgramFolderThatTakesNoLogSendsItToTheUsersStateFolder)
{
    struct Row {
        const char* behaviour;
        std::string stateHome;  // HOME stands for the home folder
        const char* logFolder;  // below the home folder
    };
    const Row rows[] = {
        {"XDG_STATE_HOME empty", "", ".local/state/rulecast"},
        {"XDG_STATE_HOME not absolute", "state", ".local/state/rulecast"},
        {"XDG_STATE_HOME absolute", "HOME/xdg state", "xdg state/rulecast"},
    };
    TempFolder programFolder, work;
    const std::string program = programFolder / "rulecast";
    std::filesystem::copy_file(RULECAST_BINARY, program);
    ASSERT_EQ(::chmod(programFolder.Path().c_str(), 0555), 0);
    OpenToAll(work.Path());
    WriteFileBytes(work / "broken.pxkbx", "<not xml");
    for (const Row& row : rows) {
        TempFolder home;
        OpenToAll(home.Path());
        std::string stateHome = row.stateHome;
        if (stateHome.rfind("HOME", 0) == 0)
            stateHome.replace(0, 4, home.Path());
        RunLimits limits;
        limits.unprivileged = true;
        limits.environment = {"HOME=" + home.Path(), "XDG_STATE_HOME=" + stateHome};
        const RunResult result = RunProgram(program, {"broken.pxkbx", "."}, work.Path(), limits);
        EXPECT_EQ(result.exitCode, 1) << row.behaviour << "\n" << result.err;
        const std::string logFolder = home / row.logFolder;
        const std::vector<std::string> logs = ListFolder(logFolder);
        ASSERT_EQ(logs.size(), 1u) << row.behaviour << "\n" << result.err;
        const std::string log = logFolder + "/" + logs[0];
        const std::string error = result.err.substr(0, result.err.find('\n'));
        EXPECT_EQ(result.err, error + "\n" + work / "broken.pxkbx: note: log file " + log +
                                  "\nError occurs during conversion! Please check the log file.\n")
            << row.behaviour;
        hostile::WithoutFailureLine(ReadFileBytes(log), error);
        struct stat info {};
        EXPECT_EQ(::stat(logFolder.c_str(), &info), 0);
        EXPECT_EQ(info.st_mode & 0777, 0700u) << row.behaviour;
        EXPECT_EQ(ListFolder(programFolder.Path()), std::vector<std::string>{"rulecast"}) << row.behaviour;
    }
    // Where no folder takes the log, the conversion goes on without one, and no note names one.
    RunLimits limits;
    limits.unprivileged = true;
    limits.environment = {"XDG_STATE_HOME=/proc/rulecast"};
    const RunResult result = RunProgram(program, {"broken.pxkbx", "."}, work.Path(), limits);
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_EQ(result.err.substr(result.err.find('\n') + 1), "Error occurs during conversion! Please check the log file.\n");
}
