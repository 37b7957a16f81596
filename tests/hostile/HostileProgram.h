#pragma once

// The real program run on hostile input: copied into a folder of its own so that its logs land
// there, converting rule files of a work folder into work/target, under limits of time and open
// files, with its peak memory measured.

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <filesystem>
#include <string>
#include <system_error>
#include <thread>
#include <vector>

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include "../TestSupport.h"

namespace hostile {

constexpr const char* kFailedSummary = "Error occurs during conversion! Please check the log file.";
constexpr const char* kFinishBanner = "Finish to convert";

struct Limits {
    int seconds = 120;
    // 0 leaves the limit as inherited.
    rlim_t openFiles = 0;
};

struct Outcome {
    int exitCode = -1;
    bool timedOut = false;
    std::string out;
    std::string err;
    double seconds = 0;
    long maxRssKb = 0;
};

// Like RunProgram, but the child is killed when it overruns limits.seconds, and wait4 gives the
// peak memory of this one child.
inline Outcome RunLimited(const std::string& program, const std::vector<std::string>& args,
                          const std::string& workingFolder, const Limits& limits)
{
    TempFolder capture;
    const std::string outPath = capture / "out", errPath = capture / "err";
    const auto start = std::chrono::steady_clock::now();
    const pid_t pid = ::fork();
    if (pid == 0) {
        if (limits.openFiles != 0) {
            const rlimit files{limits.openFiles, limits.openFiles};
            if (::setrlimit(RLIMIT_NOFILE, &files) != 0)
                ::_exit(127);
        }
        if (::chdir(workingFolder.c_str()) != 0 || !std::freopen(outPath.c_str(), "w", stdout) ||
            !std::freopen(errPath.c_str(), "w", stderr))
            ::_exit(127);
        std::vector<char*> argv{const_cast<char*>(program.c_str())};
        for (const std::string& arg : args)
            argv.push_back(const_cast<char*>(arg.c_str()));
        argv.push_back(nullptr);
        ::execv(program.c_str(), argv.data());
        ::_exit(127);
    }
    Outcome outcome;
    int status = 0;
    rusage usage{};
    const auto deadline = start + std::chrono::seconds(limits.seconds);
    while (::wait4(pid, &status, WNOHANG, &usage) == 0) {
        if (std::chrono::steady_clock::now() > deadline) {
            outcome.timedOut = true;
            ::kill(pid, SIGKILL);
            ::wait4(pid, &status, 0, &usage);
            break;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    outcome.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    outcome.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    outcome.maxRssKb = usage.ru_maxrss;
    outcome.out = ReadFileBytes(outPath);
    outcome.err = ReadFileBytes(errPath);
    return outcome;
}

// Every entry below folder, folders included, relative to it, sorted; skip (relative) and what
// lies below it are left out.
inline std::vector<std::string> ListEntries(const std::string& folder, const std::string& skip = "")
{
    namespace fs = std::filesystem;
    std::vector<std::string> names;
    std::error_code ignored;
    for (auto it = fs::recursive_directory_iterator(folder, ignored);
         it != fs::recursive_directory_iterator(); it.increment(ignored)) {
        const std::string name = fs::relative(it->path(), folder).string();
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
    Program()
    {
        std::filesystem::copy_file(RULECAST_BINARY, program_);
        std::filesystem::create_directory(target_);
    }

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
        return RunLimited(program_, {pattern, target}, work_.Path(), limits);
    }

    // The log files' contents, in the order of their names.
    std::vector<std::string> Logs() const
    {
        std::vector<std::string> logs;
        for (const std::string& name : ListFolder(home_.Path()))
            if (name != "rulecast")
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
    std::string program_ = home_ / "rulecast";
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
