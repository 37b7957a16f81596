#include <gtest/gtest.h>

#include <filesystem>
#include <regex>
#include <sstream>

#include "TestSupport.h"
#include "platform/TextEncoder.h"

namespace fs = std::filesystem;

namespace {

const std::string kGolden = std::string(RULECAST_SOURCE_DIR) + "/tests/golden";
// Where the golden trees' host type library is registered (tests/golden/wine for regen-golden.sh).
const std::string kGoldenTypeLibrary = "C:\\Program Files\\DUZIVozoz\\PXQServer.tlb";

// The log as scripts/regen-golden.sh stores it: time texts and the rule path masked.
std::string MaskLog(const std::string& log, const std::string& rulePath)
{
    static const std::regex time(R"(\d{4}-\d{2}-\d{2} \d{2}\.\d{2}\.\d{2})");
    std::string masked = std::regex_replace(log, time, "TIME");
    for (size_t pos; (pos = masked.find(rulePath)) != std::string::npos;)
        masked.replace(pos, rulePath.size(), "RULE");
    return masked;
}

// The command line of a case: the options in its file "options", if it has one, then the rule
// file and the target.
std::vector<std::string> Arguments(const std::string& caseFolder, const std::string& target)
{
    std::vector<std::string> args;
    std::istringstream options(ReadFileBytes(caseFolder + "/options"));
    for (std::string word; options >> word;)
        args.push_back(word);
    // The rule file by its full path, which the log then shows as it was typed.
    args.insert(args.end(), {caseFolder + "/input.pxkbx", target});
    return args;
}

std::vector<std::string> Cases()
{
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(FsPath(kGolden)))
        if (fs::exists(entry.path() / "input.pxkbx"))
            names.push_back(Utf8Path(entry.path().filename()));
    std::sort(names.begin(), names.end());
    return names;
}

// The code page that a case's options name; empty when they name none.
std::string NamedCodePage(const std::string& name)
{
    const std::vector<std::string> args = Arguments(kGolden + "/" + name, "");
    return args.size() == 4 && args[0] == "--codepage" ? args[1] : "";
}

std::vector<std::string> CodePageCases()
{
    std::vector<std::string> names = Cases();
    std::erase_if(names, [](const std::string& name) { return NamedCodePage(name).empty(); });
    return names;
}

}  // namespace

class AppGolden : public testing::TestWithParam<std::string> {
protected:
    // Converts the case with its input named by full path after options, and compares the tree
    // and the log with the expected ones.
    void ExpectTreeAndLog(const std::vector<std::string>& options);
};

class AppGoldenCodePage : public AppGolden {};

TEST_P(AppGolden, ConvertsToTheExpectedTreeAndLog)
{
    std::vector<std::string> options = Arguments(kGolden + "/" + GetParam(), "");
    options.resize(options.size() - 2);
    ExpectTreeAndLog(options);
}

// Without the option a project is written in the code page of the machine, which is the ANSI code
// page on Windows: a case that names it converts the same without it. Passed over where the
// machine has another one; under Wine the tests run where it is 1252, and once more under a
// Japanese locale, where it is 932 (tests/CMakeLists.txt).
TEST_P(AppGoldenCodePage, WithoutTheOptionTheMachinesCodePageIsTaken)
{
    const std::string machine = CTextEncoder::DefaultCodePage();
    if (NamedCodePage(GetParam()) != machine)
        GTEST_SKIP() << "this machine writes in code page " << machine;
    ExpectTreeAndLog({});
}

void AppGolden::ExpectTreeAndLog(const std::vector<std::string>& options)
{
    const std::string caseFolder = kGolden + "/" + GetParam();
    TempFolder home, target;
    const std::string program = CopyProgram(home.Path());
    HostTypeLibrary registered(kGoldenTypeLibrary);
    std::vector<std::string> args = options;
    args.insert(args.end(), {caseFolder + "/input.pxkbx", target.Path()});
    RunProgram(program, args, caseFolder);

    const char* regenerate = "; if the change is meant, run scripts/regen-golden.sh and read the diff";
    const std::string expected = caseFolder + "/expected";
    ASSERT_EQ(ListTree(target.Path()), ListTree(expected)) << GetParam() << regenerate;
    for (const std::string& file : ListTree(expected))
        EXPECT_EQ(ReadFileBytes(target / file), ReadFileBytes(expected + "/" + file))
            << GetParam() << "/" << file << regenerate;

    std::vector<std::string> logs = ListFolder(home.Path());
    logs.erase(std::remove(logs.begin(), logs.end(), kProgramFileName), logs.end());
    ASSERT_EQ(logs.size(), 1u);
    EXPECT_EQ(MaskLog(ReadFileBytes(home / logs[0]), caseFolder + "/input.pxkbx"),
              ReadFileBytes(caseFolder + "/expected.log"))
        << GetParam() << regenerate;
}

INSTANTIATE_TEST_SUITE_P(Cases, AppGolden, testing::ValuesIn(Cases()),
                         [](const testing::TestParamInfo<std::string>& info) { return info.param; });
INSTANTIATE_TEST_SUITE_P(Cases, AppGoldenCodePage, testing::ValuesIn(CodePageCases()),
                         [](const testing::TestParamInfo<std::string>& info) { return info.param; });
