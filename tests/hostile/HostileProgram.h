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
    // The copy of the program that runs, and the folder it runs in.
    const std::string& Executable() const { return program_; }
    const std::string& WorkFolder() const { return work_.Path(); }
    // A file of the work folder as the program names it.
    std::string Work(const std::string& name) const { return JoinedPath(work_.Path(), name); }
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
        return Run({pattern, target}, limits);
    }
    // The program with any arguments, in the work folder.
    Outcome Run(const std::vector<std::string>& args, const Limits& limits = {}) const
    {
        return RunProgram(program_, args, work_.Path(), limits);
    }

    // The log files' full paths as the program names them, in the order of their names.
    std::vector<std::string> LogPaths() const
    {
        std::vector<std::string> paths;
        for (const std::string& name : ListFolder(home_.Path()))
            if (name != kProgramFileName)
                paths.push_back(SystemPath(home_ / name));
        return paths;
    }
    // The path of the log whose begin banner names rulePath; empty when there is none.
    std::string LogOf(const std::string& rulePath) const
    {
        for (const std::string& path : LogPaths())
            if (ReadFileBytes(path).find("Begin to convert " + rulePath + "  ") != std::string::npos)
                return path;
        return "";
    }
    std::vector<std::string> Logs() const
    {
        std::vector<std::string> logs;
        for (const std::string& path : LogPaths())
            logs.push_back(ReadFileBytes(path));
        return logs;
    }

    // The program, its folder and the work folder open to a run without privileges.
    void OpenToAll() const
    {
        for (const std::string& folder : {home_.Path(), work_.Path(), target_})
            ::OpenToAll(folder);
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

// Takes the line that ends a failed conversion's log, "<time> ----> <errorLine>", off the log;
// fails the test when the log does not end so.
inline std::string WithoutFailureLine(const std::string& log, const std::string& errorLine)
{
    const std::string tail = " ----> " + errorLine + "\r\n";
    const size_t timeLength = std::string("2026-12-07 09.05.41").size();
    const size_t start = log.size() >= tail.size() + timeLength ? log.size() - tail.size() - timeLength : 0;
    EXPECT_TRUE(log.size() >= tail.size() + timeLength && log.compare(start + timeLength, tail.size(), tail) == 0)
        << "the log does not end with the error line:\n" << log;
    return log.substr(0, start);
}

// The one conversion of ruleName failed and said so: exit status 1, its error line, a note naming
// its log and the error summary; one log that begins with its banner, has no finish banner and
// ends with the same error line; and nothing outside the target changed. Returns the log without
// that last line.
inline std::string ExpectCleanFailure(const Program& program, const Outcome& outcome,
                                      const std::string& ruleName,
                                      const std::vector<std::string>& outsideBefore)
{
    EXPECT_FALSE(outcome.timedOut) << ruleName;
    EXPECT_EQ(outcome.exitCode, 1) << ruleName << "\n" << outcome.err;
    ExpectNoSanitizerReport(outcome);
    EXPECT_EQ(program.OutsideTarget(), outsideBefore) << ruleName;
    const std::vector<std::string> paths = program.LogPaths();
    EXPECT_EQ(paths.size(), 1u) << ruleName;
    if (paths.empty())
        return {};
    // Warnings may come first: what they say is for the warnings' own tests.
    std::string err = outcome.err;
    while (err.substr(0, err.find('\n')).find(": warning: ") != std::string::npos)
        err.erase(0, err.find('\n') + 1);
    const std::string errorLine = err.substr(0, err.find('\n'));
    EXPECT_EQ(err, errorLine + "\n" + program.Work(ruleName) + ": note: log file " + paths.front() +
                               "\n" + kFailedSummary + "\n");
    const std::string log = ReadFileBytes(paths.front());
    EXPECT_EQ(log.rfind(program.BeginBanner(ruleName), 0), 0u) << ruleName << "\n" << log;
    EXPECT_EQ(log.find(kFinishBanner), std::string::npos) << ruleName << "\n" << log;
    return WithoutFailureLine(log, errorLine);
}

}  // namespace hostile
