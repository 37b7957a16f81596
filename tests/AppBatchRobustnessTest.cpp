// One batch of a thousand rule files, some broken, under a tight limit of open files.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "TestSupport.h"
#include "hostile/HostileProgram.h"

namespace {

constexpr int kFileCount = 1000;

std::string ModuleName(int i)
{
    char name[16];
    std::snprintf(name, sizeof name, "P%04d", i);
    return name;
}

// Every tenth file is broken, in one of five ways; every fiftieth good one has a global class.
std::string RuleFile(int i, bool& good)
{
    const std::string rule =
        "<Rule name=\"R\" displayname=\"d\" interactive=\"true\" secure=\"true\" casefixed=\"true\">"
        "<![CDATA[Public Function R(a As Variant) As Variant\nR = a\nEnd Function\n]]></Rule>";
    const std::string filter = "<Filter name=\"F\" displayname=\"f\"><Classlist><C name=\"Pump\"/></Classlist>"
                               "<![CDATA[Public Function F(o As Object) As Boolean\nF = True\nEnd Function\n]]></Filter>";
    const std::string whole = "<KB name=\"" + ModuleName(i) + "\">" + rule + filter + "</KB>";
    good = i % 10 != 3;
    if (good && i % 50 == 0)
        return "<KB name=\"" + ModuleName(i) + "\"><GlobalCode><![CDATA[\nClass Pump\nDim r\nEnd Class\n]]></GlobalCode>" +
               rule + "</KB>";
    if (good)
        return whole;
    switch (i / 10 % 5) {
    case 0:
        return "";
    case 1:
        return whole.substr(0, whole.size() / 2);
    case 2:
        return "<KB>" + rule + "</KB>";
    case 3:
        return "<KB name=\"" + ModuleName(i) + "\"><Rule name=\"R\" displayname=\"d\">x</Rule></KB>";
    default:
        return "<KB name=\"..\">" + rule + "</KB>";
    }
}

}  // namespace

TEST(AppBatchRobustness, AThousandFilesConvertUnderSixtyFourOpenFiles)
{
    hostile::Program program;
    std::set<std::string> goodPaths, allPaths;
    std::vector<std::string> expectedTree;
    for (int i = 0; i < kFileCount; ++i) {
        bool good = false;
        const std::string name = ModuleName(i) + ".pxkbx";
        program.WriteRule(name, RuleFile(i, good));
        allPaths.insert(program.Work(name));
        if (!good)
            continue;
        goodPaths.insert(program.Work(name));
        const std::string project = ModuleName(i) + "/";
        for (const char* file : {"DataServiceImpl.cls", "GlobalCode.bas", "KBRoutine.bas"})
            expectedTree.push_back(project + file);
        if (i % 50 == 0)
            expectedTree.push_back(project + "Pump.cls");
        expectedTree.push_back(project + ModuleName(i) + ".vbp");
    }
    std::sort(expectedTree.begin(), expectedTree.end());
    ASSERT_EQ(goodPaths.size(), 900u);

    const hostile::Outcome outcome = program.Convert("*.pxkbx", {.seconds = 300, .openFiles = 64});
    EXPECT_FALSE(outcome.timedOut);
    EXPECT_EQ(outcome.exitCode, 1) << outcome.err;
    EXPECT_NE(outcome.err.find(hostile::kFailedSummary), std::string::npos) << outcome.err;
    hostile::ExpectNoSanitizerReport(outcome);
    EXPECT_EQ(ListTree(program.Target()), expectedTree);

    // One log per file, each naming its file; exactly the good ones finished.
    const std::string begin = "--------------------------  Begin to convert ";
    const std::string finish = "--------------------------  Finish to convert ";
    std::map<std::string, int> logsPerPath;
    std::set<std::string> finished;
    const std::vector<std::string> logs = program.Logs();
    EXPECT_EQ(logs.size(), static_cast<size_t>(kFileCount));
    for (const std::string& log : logs) {
        ASSERT_EQ(log.rfind(begin, 0), 0u) << log;
        const std::string path = log.substr(begin.size(), log.find("  ---", begin.size()) - begin.size());
        ++logsPerPath[path];
        if (log.find(finish + path + "  ") != std::string::npos)
            finished.insert(path);
    }
    EXPECT_EQ(logsPerPath.size(), allPaths.size());
    for (const auto& [path, count] : logsPerPath) {
        EXPECT_TRUE(allPaths.count(path)) << path;
        EXPECT_EQ(count, 1) << path;
    }
    EXPECT_EQ(finished, goodPaths);
}
