#include "platform/Console.h"

#include <algorithm>
#include <cerrno>
#include <cstddef>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <io.h>
#include <string>
#include <windows.h>

#include "common/MessageText.h"
#include "platform/WideText.h"

namespace {

constexpr const wchar_t* kMessageTitle = L"Rulecast";

bool IsConsole(HANDLE handle)
{
    DWORD mode = 0;
    return handle != nullptr && handle != INVALID_HANDLE_VALUE && ::GetConsoleMode(handle, &mode);
}

// The line in the code page that the console shows, which "chcp" sets and which batch files that
// read a program's output with "for /f" expect. Without a console no one chose a code page: UTF-8
// then, which keeps every path.
std::string InConsoleCodePage(const std::wstring& line)
{
    const UINT codePage = ::GetConsoleOutputCP();
    if (codePage == 0 || codePage == CP_UTF8)
        return Utf8Text(line);
    // A character the code page lacks becomes '?', never a look-alike: "Łódź" must not pass for
    // the name of another file, "Lodz". Some code pages take no flags at all.
    DWORD flags = WC_NO_BEST_FIT_CHARS;
    int size = ::WideCharToMultiByte(codePage, flags, line.data(), static_cast<int>(line.size()), nullptr, 0,
                                     nullptr, nullptr);
    if (size == 0 && ::GetLastError() == ERROR_INVALID_FLAGS) {
        flags = 0;
        size = ::WideCharToMultiByte(codePage, flags, line.data(), static_cast<int>(line.size()), nullptr, 0,
                                     nullptr, nullptr);
    }
    std::string bytes(static_cast<size_t>(size > 0 ? size : 0), '\0');
    if (size > 0)
        ::WideCharToMultiByte(codePage, flags, line.data(), static_cast<int>(line.size()), bytes.data(), size,
                              nullptr, nullptr);
    return bytes;
}

// Binary mode, so that the line ends are the ones written here.
bool WriteBytes(FILE* stream, const std::string& bytes)
{
    std::fflush(stream);
    ::_setmode(::_fileno(stream), _O_BINARY);
    std::fwrite(bytes.data(), 1, bytes.size(), stream);
    return std::fflush(stream) == 0 && !std::ferror(stream);
}

// The lines held for a console of its own, one box's worth of text.
std::string& HeldText()
{
    static std::string held;
    return held;
}

// The first kHeldLinesShown lines of the held text, every one of which ends in a line feed, and
// how many more there were.
std::string FirstLines(const std::string& held)
{
    size_t end = 0;
    for (size_t shown = 0; shown < CConsole::kHeldLinesShown && end < held.size(); ++shown)
        end = held.find('\n', end) + 1;
    const auto more = std::count(held.begin() + static_cast<std::ptrdiff_t>(end), held.end(), '\n');
    std::string lines = held.substr(0, end);
    if (more > 0)
        lines += MessageText(CConsole::kMoreLines, {{"count", std::to_string(more)}});
    return lines;
}

struct Stream {
    DWORD handleId;
    FILE* file;
};

void PrintLine(Stream stream, Stream other, std::string_view text)
{
    std::string line(text);
    // Some messages already end in a line feed; they get no second one.
    if (line.empty() || line.back() != '\n')
        line += '\n';
    const HANDLE handle = ::GetStdHandle(stream.handleId);
    if (IsConsole(handle)) {
        // Lines redirected to a file are read later; those on a console of its own never are.
        if (CConsole::StandsAlone()) {
            HeldText() += line;
            return;
        }
        // A console shows UTF-16 whatever its code page, so any path prints right.
        const std::wstring wide = WideText(line);
        DWORD written = 0;
        ::WriteConsoleW(handle, wide.data(), static_cast<DWORD>(wide.size()), &written, nullptr);
        return;
    }
    // Redirected to a file or pipe: as Windows programs write text there, with CR LF.
    std::wstring wide;
    for (wchar_t c : WideText(line)) {
        if (c == L'\n')
            wide += L'\r';
        wide += c;
    }
    // The stream's error flag stays set: a failure is said once, however many lines follow.
    const bool failedBefore = std::ferror(stream.file) != 0;
    if (!WriteBytes(stream.file, InConsoleCodePage(wide)) && !failedBefore)
        PrintLine(other, stream, MessageText(CConsole::kWriteError, {{"reason", std::string_view(std::strerror(errno))}}));
}

}  // namespace

void CConsole::Prepare()
{
    // Nothing to do: the runtime keeps numbers 0 to 2 for the standard streams even when the
    // process was started without them, and a write to a pipe nobody reads fails without a signal.
}

void CConsole::Inform(std::string_view text)
{
    PrintLine({STD_OUTPUT_HANDLE, stdout}, {STD_ERROR_HANDLE, stderr}, text);
}

void CConsole::Warn(std::string_view text)
{
    PrintLine({STD_ERROR_HANDLE, stderr}, {STD_OUTPUT_HANDLE, stdout}, text);
}

void CConsole::ShowHeld()
{
    if (HeldText().empty())
        return;
    ::MessageBoxW(nullptr, WideText(FirstLines(HeldText())).c_str(), kMessageTitle, MB_OK);
    HeldText().clear();
}

int CConsole::ExitStatus(int status)
{
    ShowHeld();
    const bool failed = std::fflush(stdout) != 0 || std::ferror(stdout) || std::ferror(stderr);
    return failed && status == 0 ? 1 : status;
}

bool CConsole::StandsAlone()
{
    DWORD processes[2];
    return ::GetConsoleProcessList(processes, 2) == 1;
}
