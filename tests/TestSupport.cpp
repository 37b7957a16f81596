#include "TestSupport.h"

#include <algorithm>
#include <chrono>
#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <thread>
#include <grp.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

namespace fs = std::filesystem;

TempFolder::TempFolder()
{
    std::string pattern = (fs::temp_directory_path() / "rulecast-test-XXXXXX").string();
    if (!::mkdtemp(pattern.data()))
        throw std::runtime_error("cannot make a temporary folder");
    path_ = pattern;
}

TempFolder::~TempFolder()
{
    std::error_code ignored;
    // Tests make folders read-only; give the owner back its rights so that all of it goes.
    for (auto it = fs::recursive_directory_iterator(path_, ignored);
         it != fs::recursive_directory_iterator(); it.increment(ignored)) {
        if (it->is_directory(ignored) && !it->is_symlink(ignored))
            fs::permissions(it->path(), fs::perms::owner_all, fs::perm_options::add, ignored);
    }
    fs::permissions(path_, fs::perms::owner_all, fs::perm_options::add, ignored);
    fs::remove_all(path_, ignored);
}

void OpenToAll(const std::string& folder)
{
    fs::permissions(folder, fs::perms::all);
}

std::string ReadFileBytes(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

void WriteFileBytes(const std::string& path, const std::string& bytes)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << bytes;
}

std::string WithCrLf(const std::string& text)
{
    std::string result;
    for (char c : text) {
        if (c == '\n')
            result += '\r';
        result += c;
    }
    return result;
}

std::vector<std::string> ListFolder(const std::string& path)
{
    std::vector<std::string> names;
    std::error_code ignored;
    for (const auto& entry : fs::directory_iterator(path, ignored))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

std::vector<std::string> ListTree(const std::string& path)
{
    std::vector<std::string> names;
    std::error_code ignored;
    for (const auto& entry : fs::recursive_directory_iterator(path, ignored)) {
        if (!entry.is_directory(ignored))
            names.push_back(fs::relative(entry.path(), path).string());
    }
    std::sort(names.begin(), names.end());
    return names;
}

namespace {

// The user "nobody" on Debian; its rights are those of any user who owns nothing.
constexpr uid_t kUnprivilegedId = 65534;

bool DropPrivileges()
{
    return ::setgroups(0, nullptr) == 0 && ::setgid(kUnprivilegedId) == 0 && ::setuid(kUnprivilegedId) == 0;
}

// This process's environment with changes applied: "NAME=value" sets, "NAME" removes.
std::vector<std::string> ChildEnvironment(const std::vector<std::string>& changes)
{
    std::vector<std::string> environment;
    for (char** variable = environ; *variable; ++variable)
        environment.emplace_back(*variable);
    for (const std::string& change : changes) {
        const std::string name = change.substr(0, change.find('='));
        std::erase_if(environment, [&](const std::string& v) { return v.starts_with(name + "="); });
        if (change.size() > name.size())
            environment.push_back(change);
    }
    return environment;
}

}  // namespace

RunResult RunProgram(const std::string& program, const std::vector<std::string>& args,
                     const std::string& workingFolder, const RunLimits& limits)
{
    // Output goes to files, not pipes, so a chatty program cannot block on a full pipe.
    TempFolder capture;
    const std::string outPath = capture / "out", errPath = capture / "err";
    // Made before the fork: the child only execs.
    std::vector<std::string> environment = ChildEnvironment(limits.environment);
    std::vector<char*> envp;
    for (std::string& variable : environment)
        envp.push_back(variable.data());
    envp.push_back(nullptr);
    const auto start = std::chrono::steady_clock::now();
    const pid_t pid = ::fork();
    if (pid == 0) {
        if (limits.openFiles != 0) {
            const rlimit files{limits.openFiles, limits.openFiles};
            if (::setrlimit(RLIMIT_NOFILE, &files) != 0)
                ::_exit(127);
        }
        if (limits.fileBytes != 0) {
            // The write past the limit then fails with EFBIG instead of killing the child.
            std::signal(SIGXFSZ, SIG_IGN);
            const rlimit bytes{limits.fileBytes, limits.fileBytes};
            if (::setrlimit(RLIMIT_FSIZE, &bytes) != 0)
                ::_exit(127);
        }

        if (::chdir(workingFolder.c_str()) != 0 || !std::freopen(outPath.c_str(), "w", stdout) ||
            !std::freopen(errPath.c_str(), "w", stderr))
            ::_exit(127);
        if (limits.unprivileged && ::geteuid() == 0 && !DropPrivileges())
            ::_exit(127);
        std::vector<char*> argv{const_cast<char*>(program.c_str())};
        for (const std::string& arg : args)
            argv.push_back(const_cast<char*>(arg.c_str()));
        argv.push_back(nullptr);
        ::execve(program.c_str(), argv.data(), envp.data());
        ::_exit(127);
    }
    RunResult result;
    int status = 0;
    rusage usage{};
    const auto deadline = start + std::chrono::seconds(limits.seconds);
    while (::wait4(pid, &status, WNOHANG, &usage) == 0) {
        if (std::chrono::steady_clock::now() > deadline) {
            result.timedOut = true;
            ::kill(pid, SIGKILL);
            ::wait4(pid, &status, 0, &usage);
            break;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    result.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    result.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    result.maxRssKb = usage.ru_maxrss;
    result.out = ReadFileBytes(outPath);
    result.err = ReadFileBytes(errPath);
    return result;
}
