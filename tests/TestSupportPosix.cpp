#include "TestSupport.h"

#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <stdexcept>
#include <thread>
#include <fcntl.h>
#include <grp.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

namespace fs = std::filesystem;

TempFolder::TempFolder()
{
    std::string pattern = (fs::temp_directory_path() / "rulecast-test-XXXXXX").string();
    if (!::mkdtemp(pattern.data()))
        throw std::runtime_error("cannot make a temporary folder");
    path_ = pattern;
}

std::string SystemPath(const std::string& path)
{
    return path;
}

std::string JoinedPath(const std::string& folder, const std::string& name)
{
    return folder + "/" + name;
}

std::string ShortName(const std::string& path)
{
    return path;
}

std::string SystemUpperCase(const std::string& text)
{
    return text;
}

bool SameFileName(const std::string& a, const std::string& b)
{
    return a == b;
}

bool PlatformHas(Need need)
{
    if (need == Need::kOwners)
        return ::geteuid() == 0;
    return need != Need::kSharingViolations && need != Need::kWindowsPaths;
}

FileHeldOpen::FileHeldOpen(const std::string& path, bool)
    : handle_(reinterpret_cast<void*>(static_cast<intptr_t>(::open(path.c_str(), O_RDONLY | O_CLOEXEC))))
{
}

FileHeldOpen::~FileHeldOpen()
{
    ::close(static_cast<int>(reinterpret_cast<intptr_t>(handle_)));
}

void SetEnv(const std::string& name, const std::string& value)
{
    ::setenv(name.c_str(), value.c_str(), 1);
}

void UnsetEnv(const std::string& name)
{
    ::unsetenv(name.c_str());
}

namespace {

// A value as Wine's registry files write it: backslash and quote escaped, every character beyond
// ASCII as its UTF-16 code units in \x form.
std::string RegistryText(const std::string& utf8)
{
    std::string text;
    auto unit = [&text](unsigned value) {
        char escape[16];
        std::snprintf(escape, sizeof escape, "\\x%04x", value);
        text += escape;
    };
    for (size_t i = 0; i < utf8.size();) {
        const unsigned char lead = static_cast<unsigned char>(utf8[i]);
        if (lead < 0x80) {
            if (lead == '\\' || lead == '"')
                text += '\\';
            text += static_cast<char>(lead);
            ++i;
            continue;
        }
        const int length = lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : 4;
        char32_t code = lead & (0xFF >> (length + 1));
        for (int k = 1; k < length && i + k < utf8.size(); ++k)
            code = (code << 6) | (static_cast<unsigned char>(utf8[i + k]) & 0x3F);
        i += length;
        if (code >= 0x10000) {
            unit(0xD800 + ((code - 0x10000) >> 10));
            unit(0xDC00 + ((code - 0x10000) & 0x3FF));
        } else {
            unit(code);
        }
    }
    return text;
}

}  // namespace

struct HostTypeLibrary::State {
    TempFolder prefix;
    std::optional<std::string> savedPrefix;
};

HostTypeLibrary::HostTypeLibrary(const std::optional<std::string>& path) : state_(std::make_unique<State>())
{
    if (path)
        WriteFileBytes(state_->prefix / "system.reg",
                       "WINE REGISTRY Version 2\n\n"
                       "[Software\\\\Classes\\\\TypeLib\\\\{38000000-F1C5-412B-B40F-DBFCAEFAAFB6}"
                       "\\\\97.0\\\\0\\\\win32] 1700000000\n@=\"" + RegistryText(*path) + "\"\n");
    if (const char* prefix = std::getenv("WINEPREFIX"))
        state_->savedPrefix = prefix;
    SetEnv("WINEPREFIX", state_->prefix.Path());
}

HostTypeLibrary::~HostTypeLibrary()
{
    if (state_->savedPrefix)
        SetEnv("WINEPREFIX", *state_->savedPrefix);
    else
        UnsetEnv("WINEPREFIX");
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
    bool signalled = false;
    while (::wait4(pid, &status, WNOHANG, &usage) == 0) {
        if (limits.signal != 0 && !signalled && limits.signalWhen(workingFolder)) {
            ::kill(pid, limits.signal);
            signalled = true;
        }
        if (std::chrono::steady_clock::now() > deadline) {
            result.timedOut = true;
            ::kill(pid, SIGKILL);
            ::wait4(pid, &status, 0, &usage);
            break;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(limits.signal != 0 && !signalled ? 1 : 5));
    }
    result.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    result.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    result.maxRssKb = usage.ru_maxrss;
    result.out = ReadFileBytes(outPath);
    result.err = ReadFileBytes(errPath);
    return result;
}
