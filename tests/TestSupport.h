#pragma once

#include <string>
#include <utility>
#include <vector>

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

// Opens a folder to every user, as one that an unprivileged run works in must be.
void OpenToAll(const std::string& folder);

// The whole file as bytes; empty when it cannot be read.
std::string ReadFileBytes(const std::string& path);
void WriteFileBytes(const std::string& path, const std::string& bytes);
// "\n" -> "\r\n", for comparing with what a text file holds on disk.
std::string WithCrLf(const std::string& text);
// Names in a folder, sorted, without "." and "..".
std::vector<std::string> ListFolder(const std::string& path);
// Every file below a folder, as paths relative to it, sorted.
std::vector<std::string> ListTree(const std::string& path);

struct RunLimits {
    // The child is killed when it runs longer.
    int seconds = 120;
    // 0 leaves the limit of open files as inherited.
    unsigned long openFiles = 0;
    // Largest file the child may write, in bytes; a write past it fails ("File too large").
    // 0 leaves it as inherited.
    unsigned long fileBytes = 0;
    // Changes to the child's environment: "NAME=value" sets a variable, "NAME" removes it.
    std::vector<std::string> environment{};
    // Run as a user without privileges, for whom permission bits hold even when the tests run with
    // all rights. The folders it uses must be open to that user (OpenToAll).
    bool unprivileged = false;
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
