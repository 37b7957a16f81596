#include <gtest/gtest.h>

#include "TestSupport.h"
#include "platform/FileSystem.h"

namespace {

constexpr const char* kFailed = "Error occurs during conversion! Please check the log file.\n";

struct Case {
    const char* name;
    const char* ruleFile;
    // What follows "<rule path>" on the error line.
    std::string where;
};

}  // namespace

// Each failed file gets one compiler-style line on standard error, before the summary.
TEST(AppDiagnostics, EveryFailureNamesItsReasonAndLine)
{
    TempFolder home, work;
    const Case cases[] = {
        {"not-well-formed", "<Rules name=\"P\">\n<Rule a=\"1\" a=\"2\"/>\n</Rules>\n",
         ":2: error: Attribute a redefined"},
        {"empty", "", ":1: error: Document is empty"},
        {"external-entity",
         "<!DOCTYPE R [<!ENTITY x SYSTEM \"hostname\">]>\n<R name=\"P\">\n<GlobalCode>&x;</GlobalCode>\n</R>\n",
         ":3: error: failed to load external entity \"" + CFileSystem::PathAsUrl(work.Path()) + "/hostname\""},
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
        {"unsafe-module-name", "<Rules name=\"../x\"/>\n", ": error: unsafe module name '../x'"},
    };
    const std::string program = CopyProgram(home.Path());
    ASSERT_TRUE(MakeFolder(work / "out"));
    for (const Case& c : cases) {
        std::string rulePath = work / (std::string(c.name) + ".pxkbx");
        WriteFileBytes(rulePath, c.ruleFile);
        RunResult result = RunProgram(program, {rulePath, "out"}, work.Path());
        EXPECT_EQ(result.exitCode, 1) << c.name;
        EXPECT_EQ(result.err, rulePath + c.where + "\n" + kFailed) << c.name;
    }
    EXPECT_TRUE(ListFolder(work / "out").empty());
}

TEST(AppDiagnostics, FilesThatCannotBeMadeOrWrittenSayWhy)
{
    TempFolder home, work;
    const std::string program = CopyProgram(home.Path());
    WriteFileBytes(work / "Plant.pxkbx", "<Rules name=\"Plant\"/>\n");
    WriteFileBytes(work / "a-file", "");
    RunResult result = RunProgram(program, {"Plant.pxkbx", "a-file"}, work.Path());
    EXPECT_EQ(result.err, work / "Plant.pxkbx: error: cannot create folder a-file/Plant: Not a directory\n" + kFailed);

    ASSERT_TRUE(MakeFolder(work / "out"));
    ASSERT_TRUE(MakeFolder(work / "out/Plant"));
    ASSERT_TRUE(MakeFolder(work / "out/Plant/KBRoutine.bas"));
    result = RunProgram(program, {"Plant.pxkbx", "out"}, work.Path());
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_EQ(result.err, work / "Plant.pxkbx: error: cannot write out/Plant/KBRoutine.bas: Is a directory\n" +
                              kFailed);
}

// A reason stays on its own line even in large rule files.
TEST(AppDiagnostics, LineNumbersStayRightPastSixtyFiveThousand)
{
    TempFolder home, work;
    const std::string program = CopyProgram(home.Path());
    std::string rule = "<Rules name=\"P\">\n" + std::string(70000, '\n') + "<Sort name=\"S\"/>\n</Rules>\n";
    WriteFileBytes(work / "big.pxkbx", rule);
    ASSERT_TRUE(MakeFolder(work / "out"));
    RunResult result = RunProgram(program, {"big.pxkbx", "out"}, work.Path());
    EXPECT_EQ(result.err, work / "big.pxkbx:70002: error: Sort 'S' has no attribute 'displayname'\n" + kFailed);
}
