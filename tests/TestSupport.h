#pragma once

#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <random>
#include <string>
#include <utility>
#include <vector>

// What the tests need of the system, the same on every platform. Paths are UTF-8 throughout.

// The program under test's file name: rulecast, or Rulecast.exe's twin rulecast.exe.
constexpr const char* kProgramFileName = RULECAST_BINARY_NAME;

// A fresh folder under the system's temporary folder, removed with everything in it when the
// object goes.
class TempFolder {
public:
    TempFolder();
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;
    const std::string& Path() const { return path_; }
    // Path() + "/" + name.
    std::string operator/(const std::string& name) const { return path_ + "/" + name; }

private:
    std::string path_;
};

// Seeded choices for the randomized tests: pick(count) is one of 0 .. count - 1.
class RandomPick {
public:
    explicit RandomPick(unsigned seed) : random_(seed) {}
    size_t operator()(size_t count)
    {
        return std::uniform_int_distribution<size_t>(0, count - 1)(random_);
    }

private:
    std::mt19937 random_;
};

// The UTF-8 path as the standard library's path, and back: a narrow path means the ANSI code
// page, not UTF-8, on Windows.
std::filesystem::path FsPath(const std::string& utf8);
std::string Utf8Path(const std::filesystem::path& path);
// Opens a folder to every user, as one that an unprivileged run works in must be.
void OpenToAll(const std::string& folder);
// Takes the right to write from everyone; on Windows sets the read-only flag.
void MakeReadOnly(const std::string& path);
// Whether a file made read-only stops this process from writing it: not for root on Linux, nor
// under Wine run as root.
bool ReadOnlyHolds();

// What a row of a table may need that not every platform has; a row whose need the platform
// lacks is passed over there.
enum class Need {
    kSymbolicLinks,
    kFileSizeLimit,           // RunLimits::fileBytes
    kAnyByteInFileNames,      // line breaks and escapes, which Windows refuses in a name
    kQtDialog,                // a start without arguments that looks for a display
    kPermissionBits,          // modes such as 0600 that a replaced file keeps
    kSignals,                 // RunLimits::signal
    kSharingViolations,       // FileHeldOpen keeps others from removing the file
    kWindowsPaths,            // drive letters, the \\?\ prefix, short 8.3 names
    kOwners,                  // files given to another user and group: root on Linux
};
bool PlatformHas(Need need);

// A file held open, as an editor or a virus scanner may hold it, until the object goes: on Windows
// without sharing, so that no one else may open, rename or remove it, or sharing everything.
class FileHeldOpen {
public:
    explicit FileHeldOpen(const std::string& path, bool sharesEverything = false);
    ~FileHeldOpen();
    FileHeldOpen(const FileHeldOpen&) = delete;
    FileHeldOpen& operator=(const FileHeldOpen&) = delete;

private:
    void* handle_;
};

// The path as the system writes it, as the program names what lies in a folder the system gave
// it (its own, the user's): with backslashes on Windows.
std::string SystemPath(const std::string& path);
// name in folder, joined with the separator the program joins paths with: "\\" on Windows.
std::string JoinedPath(const std::string& folder, const std::string& name);
// The short 8.3 name of an existing file's path on Windows; the path as it is elsewhere.
std::string ShortName(const std::string& path);
// Windows: the text upper-cased as the system does it, and whether the system takes a and b for
// one file name (CompareStringOrdinal, case ignored). Elsewhere the text as it is, and a == b.
std::string SystemUpperCase(const std::string& text);
bool SameFileName(const std::string& a, const std::string& b);

// The whole file as bytes; empty when it cannot be read.
std::string ReadFileBytes(const std::string& path);
void WriteFileBytes(const std::string& path, const std::string& bytes);
// "\n" -> "\r\n", for comparing with what a text file holds on disk.
std::string WithCrLf(const std::string& text);
// The lines of a log file that hold marker, each from marker on, without its line end.
std::vector<std::string> LogLinesFrom(const std::string& logPath, const std::string& marker);
// A file of a golden case's expected tree (tests/golden/CASE/expected/PATH), with LF line ends.
std::string GoldenText(const std::string& caseName, const std::string& path);

// The plainest filling, which every faster one must match: the text compared with token at every
// position, left to right, going on after each replacement.
std::string FilledByPositions(const std::string& text, const std::string& token, const std::string& value);
// Names in a folder, sorted, without "." and "..".
std::vector<std::string> ListFolder(const std::string& path);
// Every file below a folder, as paths relative to it ("/" between folders), sorted.
std::vector<std::string> ListTree(const std::string& path);
// One folder; false when it could not be made.
bool MakeFolder(const std::string& path);
bool ChangeFolder(const std::string& path);
// A copy of the program under test in folder, where its logs then land; returns its path.
std::string CopyProgram(const std::string& folder);

// The environment of this process and of the programs it starts.
void SetEnv(const std::string& name, const std::string& value);
void UnsetEnv(const std::string& name);

// The host's type library registered at path for this process and the programs it starts, or
// not registered at all, until the object goes. On Linux a Wine prefix of its own, on Windows the
// key under HKEY_CLASSES_ROOT, which every program of the machine sees: tests that hold one must
// not run beside others that convert.
class HostTypeLibrary {
public:
    explicit HostTypeLibrary(const std::optional<std::string>& path);
    ~HostTypeLibrary();
    HostTypeLibrary(const HostTypeLibrary&) = delete;
    HostTypeLibrary& operator=(const HostTypeLibrary&) = delete;

private:
    struct State;
    std::unique_ptr<State> state_;
};

struct RunLimits {
    // The child is killed when it runs longer.
    int seconds = 120;
    // 0 leaves the limit of open files as inherited; Windows has no such limit.
    unsigned long openFiles = 0;
    // Largest file the child may write, in bytes; a write past it fails ("File too large").
    // 0 leaves it as inherited; Windows has no such limit (Need::kFileSizeLimit).
    unsigned long fileBytes = 0;
    // Changes to the child's environment: "NAME=value" sets a variable, "NAME" removes it.
    std::vector<std::string> environment{};
    // Run as a user without privileges, for whom permission bits hold even when the tests run with
    // all rights. The folders it uses must be open to that user (OpenToAll). Linux only.
    bool unprivileged = false;
    // Sent to the child once signalWhen(workingFolder) holds, which is asked every millisecond
    // while the child runs. Linux only (Need::kSignals).
    int signal = 0;
    std::function<bool(const std::string&)> signalWhen = nullptr;
    // Windows: whether the child's CR LF line ends are kept; otherwise they are read as a batch
    // file's "for /f" reads them, as line feeds.
    bool keepLineEnds = false;
};

struct RunResult {
    int exitCode = -1;
    bool timedOut = false;
    std::string out;
    std::string err;
    double seconds = 0;
    long maxRssKb = 0;  // peak memory of the child
};
// Runs a program with arguments, in workingFolder, under limits, and captures its output.
RunResult RunProgram(const std::string& program, const std::vector<std::string>& args,
                     const std::string& workingFolder, const RunLimits& limits = {});
