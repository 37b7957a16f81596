#pragma once

// The real program run on hostile input: copied into a folder of its own so that its logs land
// there, converting rule files of a work folder into work/target, under limits of time and open
// files, with its peak memory measured.

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <system_error>
#include <vector>

#include "../TestSupport.h"

namespace hostile {

constexpr const char* kFailedSummary = "Error occurs during conversion! Please check the log file.";
constexpr const char* kFinishBanner = "Finish to convert";

using Limits = RunLimits;
using Outcome = RunResult;

// Every entry below folder, folders included, relative to it, sorted; skip (relative) and what
// lies below it are left out.
inline std::vector<std::string> ListEntries(const std::string& folder, const std::string& skip = "")
{
    namespace fs = std::filesystem;
    std::vector<std::string> names;
    std::error_code ignored;
    const fs::path root = FsPath(folder);
    for (auto it = fs::recursive_directory_iterator(root, ignored);
         it != fs::recursive_directory_iterator(); it.increment(ignored)) {
        const std::string name = Utf8Path(fs::relative(it->path(), root));
        if (name == skip) {
            it.disable_recursion_pending();
            continue;
        }
        names.push_back(name);
    }
    std::sort(names.begin(), names.end());
    return names;
}

class Program {
public:
    Program() { MakeFolder(target_); }

    const std::string& Target() const { return target_; }
    std::string Work(const std::string& name) const { return work_ / name; }
    void WriteRule(const std::string& name, const std::string& bytes) const
    {
        WriteFileBytes(work_ / name, bytes);
    }

    // The batch on a rule-file pattern (relative to the work folder) into the target.
    Outcome Convert(const std::string& pattern, const Limits& limits = {}) const
    {
        return ConvertInto(pattern, target_, limits);
    }
    Outcome ConvertInto(const std::string& pattern, const std::string& target, const Limits& limits = {}) const
    {
        return RunProgram(program_, {pattern, target}, work_.Path(), limits);
    }

    // The log files' contents, in the order of their names.
    std::vector<std::string> Logs() const
    {
        std::vector<std::string> logs;
        for (const std::string& name : ListFolder(home_.Path()))
            if (name != kProgramFileName)
                logs.push_back(ReadFileBytes(home_ / name));
        return logs;
    }

    // Everything in the work folder except what lies in the target.
    std::vector<std::string> OutsideTarget() const { return ListEntries(work_.Path(), "target"); }

    // As the log holds it, with CR LF.
    std::string BeginBanner(const std::string& ruleName) const
    {
        return WithCrLf("--------------------------  Begin to convert " + Work(ruleName) +
                        "  --------------------------------------\n");
    }

private:
    TempFolder home_;
    TempFolder work_;
    std::string program_ = CopyProgram(home_.Path());
    std::string target_ = work_ / "target";
};

// No sanitizer of an instrumented build spoke up in the child.
inline void ExpectNoSanitizerReport(const Outcome& outcome)
{
    EXPECT_EQ(outcome.err.find("Sanitizer"), std::string::npos) << outcome.err;
    EXPECT_EQ(outcome.err.find("runtime error:"), std::string::npos) << outcome.err;
}

// The one conversion of ruleName failed and said so: exit status 1, the error summary, one log
// that begins with its banner and has no finish banner, and nothing outside the target changed.
// Returns the log.
inline std::string ExpectCleanFailure(const Program& program, const Outcome& outcome,
                                      const std::string& ruleName,
                                      const std::vector<std::string>& outsideBefore)
{
    EXPECT_FALSE(outcome.timedOut) << ruleName;
    EXPECT_EQ(outcome.exitCode, 1) << ruleName << "\n" << outcome.err;
    EXPECT_NE(outcome.err.find(kFailedSummary), std::string::npos) << ruleName << "\n" << outcome.err;
    ExpectNoSanitizerReport(outcome);
    EXPECT_EQ(program.OutsideTarget(), outsideBefore) << ruleName;
    const std::vector<std::string> logs = program.Logs();
    EXPECT_EQ(logs.size(), 1u) << ruleName;
    if (logs.empty())
        return {};
    const std::string& log = logs.front();
    EXPECT_EQ(log.rfind(program.BeginBanner(ruleName), 0), 0u) << ruleName << "\n" << log;
    EXPECT_EQ(log.find(kFinishBanner), std::string::npos) << ruleName << "\n" << log;
    return log;
}

}  // namespace hostile
