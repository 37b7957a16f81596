#include "platform/Console.h"

#include <cstdio>
#include <fcntl.h>
#include <io.h>
#include <string>
#include <windows.h>

#include "platform/WideText.h"

namespace {

constexpr const wchar_t* kMessageTitle = L"Rulecast";

bool IsConsole(HANDLE handle)
{
    DWORD mode = 0;
    return handle != nullptr && handle != INVALID_HANDLE_VALUE && ::GetConsoleMode(handle, &mode);
}

void PrintLine(DWORD handleId, FILE* stream, std::string_view text)
{
    std::string line(text);
    // Some messages already end in a line feed; they get no second one.
    if (line.empty() || line.back() != '\n')
        line += '\n';
    const HANDLE handle = ::GetStdHandle(handleId);
    if (IsConsole(handle)) {
        // Lines redirected to a file are read later; those on a console of its own never are.
        if (CConsole::StandsAlone()) {
            ::MessageBoxW(nullptr, WideText(std::string(text)).c_str(), kMessageTitle, MB_OK);
            return;
        }
        // A console shows UTF-16 whatever its code page, so any path prints right.
        const std::wstring wide = WideText(line);
        DWORD written = 0;
        ::WriteConsoleW(handle, wide.data(), static_cast<DWORD>(wide.size()), &written, nullptr);
        return;
    }
    // Redirected: the UTF-8 bytes as they are, with line feeds as on every other platform.
    std::fflush(stream);
    ::_setmode(::_fileno(stream), _O_BINARY);
    std::fwrite(line.data(), 1, line.size(), stream);
    std::fflush(stream);
}

}  // namespace

void CConsole::Inform(std::string_view text)
{
    PrintLine(STD_OUTPUT_HANDLE, stdout, text);
}

void CConsole::Warn(std::string_view text)
{
    PrintLine(STD_ERROR_HANDLE, stderr, text);
}

bool CConsole::StandsAlone()
{
    DWORD processes[2];
    return ::GetConsoleProcessList(processes, 2) == 1;
}
