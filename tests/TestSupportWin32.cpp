#include "TestSupport.h"

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <cwchar>
#include <memory>
#include <random>
#include <stdexcept>
#include <windows.h>
#include <psapi.h>

#include "platform/WideText.h"

namespace {

constexpr const wchar_t* kTypeLibraryKey = L"TypeLib\\{38000000-F1C5-412B-B40F-DBFCAEFAAFB6}";
constexpr const wchar_t* kWin32Key = L"TypeLib\\{38000000-F1C5-412B-B40F-DBFCAEFAAFB6}\\97.0\\0\\win32";

// One argument as CommandLineToArgvW and the C runtime split it again: quoted when it holds
// blanks or quotes, backslashes doubled only before a quote.
std::wstring Quoted(const std::wstring& argument)
{
    if (!argument.empty() && argument.find_first_of(L" \t\n\v\"") == std::wstring::npos)
        return argument;
    std::wstring quoted = L"\"";
    for (size_t i = 0;; ++i) {
        size_t backslashes = 0;
        for (; i < argument.size() && argument[i] == L'\\'; ++i)
            ++backslashes;
        if (i == argument.size()) {
            quoted.append(backslashes * 2, L'\\');
            break;
        }
        if (argument[i] == L'"')
            quoted.append(backslashes * 2 + 1, L'\\');
        else
            quoted.append(backslashes, L'\\');
        quoted += argument[i];
    }
    return quoted + L"\"";
}

HANDLE OpenInherited(const std::wstring& path, DWORD access, DWORD disposition)
{
    SECURITY_ATTRIBUTES inherit{sizeof(SECURITY_ATTRIBUTES), nullptr, TRUE};
    return ::CreateFileW(path.c_str(), access, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                         &inherit, disposition, FILE_ATTRIBUTE_NORMAL, nullptr);
}

// This process's environment with changes applied: "NAME=value" sets, "NAME" removes; names
// without regard to case, as Windows compares them. As a block for CreateProcessW: each
// variable ends in a null character, and one more ends the block.
std::wstring ChildEnvironment(const std::vector<std::string>& changes)
{
    std::vector<std::wstring> variables;
    const std::unique_ptr<wchar_t, decltype(&::FreeEnvironmentStringsW)> block(::GetEnvironmentStringsW(),
                                                                               &::FreeEnvironmentStringsW);
    for (const wchar_t* variable = block.get(); variable && *variable; variable += wcslen(variable) + 1)
        variables.emplace_back(variable);
    for (const std::string& change : changes) {
        const std::wstring wide = WideText(change);
        const std::wstring name = wide.substr(0, wide.find(L'='));
        std::erase_if(variables, [&](const std::wstring& v) {
            // Names like "=C:", which keep a drive's current folder, start with the '='.
            const size_t end = v.find(L'=', 1);
            return end == name.size() &&
                   ::CompareStringOrdinal(v.data(), static_cast<int>(end), name.data(), static_cast<int>(end),
                                          TRUE) == CSTR_EQUAL;
        });
        if (wide.size() > name.size())
            variables.push_back(wide);
    }
    std::wstring environment;
    for (const std::wstring& variable : variables)
        environment += variable + L'\0';
    return environment + L'\0';
}

}  // namespace

TempFolder::TempFolder()
{
    wchar_t temp[MAX_PATH + 1];
    const DWORD length = ::GetTempPathW(MAX_PATH + 1, temp);
    if (length == 0 || length > MAX_PATH)
        throw std::runtime_error("no temporary folder");
    std::random_device random;
    for (int attempt = 0; attempt < 100; ++attempt) {
        const std::wstring path = std::wstring(temp, length) + L"rulecast-test-" + std::to_wstring(random());
        if (::CreateDirectoryW(path.c_str(), nullptr)) {
            path_ = Utf8Text(path);
            return;
        }
    }
    throw std::runtime_error("cannot make a temporary folder");
}

std::string SystemPath(const std::string& path)
{
    std::string native = path;
    std::replace(native.begin(), native.end(), '/', '\\');
    return native;
}

std::string JoinedPath(const std::string& folder, const std::string& name)
{
    return folder + "\\" + name;
}

std::string ShortName(const std::string& path)
{
    const std::wstring wide = WideText(path);
    std::wstring shortName(::GetShortPathNameW(wide.c_str(), nullptr, 0), L'\0');
    const DWORD length = ::GetShortPathNameW(wide.c_str(), shortName.data(), static_cast<DWORD>(shortName.size()));
    shortName.resize(length < shortName.size() ? length : 0);
    return Utf8Text(shortName);
}

std::string SystemUpperCase(const std::string& text)
{
    std::wstring wide = WideText(text);
    ::CharUpperBuffW(wide.data(), static_cast<DWORD>(wide.size()));
    return Utf8Text(wide);
}

bool SameFileName(const std::string& a, const std::string& b)
{
    const std::wstring left = WideText(a), right = WideText(b);
    return ::CompareStringOrdinal(left.data(), static_cast<int>(left.size()), right.data(),
                                  static_cast<int>(right.size()), TRUE) == CSTR_EQUAL;
}

bool PlatformHas(Need need)
{
    // Links need a privilege, a file has no size limit of its own, names refuse control
    // characters, the program shows no dialog yet, a file's rights are no mode, and a console
    // event cannot be sent to one program alone.
    return need == Need::kSharingViolations || need == Need::kWindowsPaths;
}

FileHeldOpen::FileHeldOpen(const std::string& path, bool sharesEverything)
    : handle_(::CreateFileW(WideText(path).c_str(), GENERIC_READ,
                            sharesEverything ? FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE : 0, nullptr,
                            OPEN_EXISTING, 0, nullptr))
{
}

FileHeldOpen::~FileHeldOpen()
{
    if (handle_ != INVALID_HANDLE_VALUE)
        ::CloseHandle(handle_);
}

void SetEnv(const std::string& name, const std::string& value)
{
    // Both the runtime's copy, which getenv reads, and the system's, which children inherit.
    ::_wputenv_s(WideText(name).c_str(), WideText(value).c_str());
    ::SetEnvironmentVariableW(WideText(name).c_str(), WideText(value).c_str());
}

void UnsetEnv(const std::string& name)
{
    ::_wputenv_s(WideText(name).c_str(), L"");
    ::SetEnvironmentVariableW(WideText(name).c_str(), nullptr);
}

struct HostTypeLibrary::State {};

HostTypeLibrary::HostTypeLibrary(const std::optional<std::string>& path) : state_(std::make_unique<State>())
{
    ::RegDeleteTreeW(HKEY_CLASSES_ROOT, kTypeLibraryKey);
    if (!path)
        return;
    const std::wstring value = WideText(*path);
    const LSTATUS status =
        ::RegSetKeyValueW(HKEY_CLASSES_ROOT, kWin32Key, nullptr, REG_SZ, value.c_str(),
                          static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
    if (status != ERROR_SUCCESS)
        throw std::runtime_error("cannot register the type library: error " + std::to_string(status));
}

HostTypeLibrary::~HostTypeLibrary()
{
    ::RegDeleteTreeW(HKEY_CLASSES_ROOT, kTypeLibraryKey);
}

RunResult RunProgram(const std::string& program, const std::vector<std::string>& args,
                     const std::string& workingFolder, const RunLimits& limits)
{
    // Output goes to files, not pipes, so a chatty program cannot block on a full pipe.
    TempFolder capture;
    const std::string outPath = capture / "out", errPath = capture / "err";
    std::wstring commandLine = Quoted(WideText(program));
    for (const std::string& arg : args)
        commandLine += L" " + Quoted(WideText(arg));

    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = OpenInherited(L"NUL", GENERIC_READ, OPEN_EXISTING);
    startup.hStdOutput = OpenInherited(WideText(outPath), GENERIC_WRITE, CREATE_ALWAYS);
    startup.hStdError = OpenInherited(WideText(errPath), GENERIC_WRITE, CREATE_ALWAYS);
    PROCESS_INFORMATION process{};
    std::wstring environment = ChildEnvironment(limits.environment);
    const auto start = std::chrono::steady_clock::now();
    const BOOL started =
        ::CreateProcessW(WideText(program).c_str(), commandLine.data(), nullptr, nullptr, TRUE,
                         CREATE_UNICODE_ENVIRONMENT, environment.data(), WideText(workingFolder).c_str(), &startup,
                         &process);
    for (HANDLE handle : {startup.hStdInput, startup.hStdOutput, startup.hStdError})
        ::CloseHandle(handle);
    RunResult result;
    if (!started) {
        result.exitCode = 127;
        return result;
    }
    // The peak is taken while the child runs, too: Wine tells it of a live process only.
    size_t peak = 0;
    auto notePeak = [&] {
        PROCESS_MEMORY_COUNTERS memory{};
        if (::GetProcessMemoryInfo(process.hProcess, &memory, sizeof memory))
            peak = std::max({peak, memory.PeakWorkingSetSize, memory.WorkingSetSize});
    };
    const auto deadline = start + std::chrono::seconds(limits.seconds);
    while (::WaitForSingleObject(process.hProcess, 5) == WAIT_TIMEOUT) {
        notePeak();
        if (std::chrono::steady_clock::now() > deadline) {
            result.timedOut = true;
            ::TerminateProcess(process.hProcess, 137);
            ::WaitForSingleObject(process.hProcess, INFINITE);
            break;
        }
    }
    notePeak();
    result.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    DWORD exitCode = 0;
    ::GetExitCodeProcess(process.hProcess, &exitCode);
    result.exitCode = static_cast<int>(exitCode);
    result.maxRssKb = static_cast<long>(peak / 1024);
    ::CloseHandle(process.hThread);
    ::CloseHandle(process.hProcess);
    result.out = ReadFileBytes(outPath);
    result.err = ReadFileBytes(errPath);
    if (!limits.keepLineEnds) {
        for (std::string* text : {&result.out, &result.err}) {
            std::string lines;
            for (size_t i = 0; i < text->size(); ++i)
                if (!((*text)[i] == '\r' && i + 1 < text->size() && (*text)[i + 1] == '\n'))
                    lines += (*text)[i];
            *text = std::move(lines);
        }
    }
    return result;
}
