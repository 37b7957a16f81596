#include "platform/ProgramFolders.h"

#include <cstdlib>
#include <windows.h>
#include <knownfolders.h>
#include <shlobj.h>

#include "platform/FileSystem.h"
#include "platform/WideText.h"

namespace {

constexpr const char* kProgramFolder = "Rulecast\\";

bool IsSeparator(wchar_t c)
{
    return c == L'\\' || c == L'/';
}

// "C:\..." or "\\server\share\...": a path that the current folder plays no part in.
bool IsAbsolute(const std::wstring& path)
{
    const bool drive = path.size() >= 3 && path[1] == L':' && IsSeparator(path[2]);
    return drive || (path.size() >= 2 && IsSeparator(path[0]) && IsSeparator(path[1]));
}

std::string WithSeparator(std::string folder)
{
    if (folder.empty() || (folder.back() != '\\' && folder.back() != '/'))
        folder += '\\';
    return folder;
}

// The variable, as the user's session sets it, when it holds an absolute path; otherwise the
// shell's own answer for the folder.
std::string UserFolder(const wchar_t* variable, const KNOWNFOLDERID& id)
{
    const wchar_t* value = ::_wgetenv(variable);
    if (value && IsAbsolute(value))
        return WithSeparator(Utf8Text(std::wstring(value))) + kProgramFolder;
    wchar_t* known = nullptr;
    std::string folder;
    if (SUCCEEDED(::SHGetKnownFolderPath(id, KF_FLAG_DEFAULT, nullptr, &known)) && IsAbsolute(known))
        folder = WithSeparator(Utf8Text(std::wstring(known))) + kProgramFolder;
    ::CoTaskMemFree(known);
    return folder;
}

// The shell's path of a known folder, with "\\" at its end; empty when it knows none.
std::wstring KnownFolder(const KNOWNFOLDERID& id)
{
    wchar_t* known = nullptr;
    std::wstring folder;
    if (SUCCEEDED(::SHGetKnownFolderPath(id, KF_FLAG_DEFAULT, nullptr, &known)) && IsAbsolute(known))
        folder = known;
    ::CoTaskMemFree(known);
    if (!folder.empty() && !IsSeparator(folder.back()))
        folder += L'\\';
    return folder;
}

// Whether path lies in folder, letter case and the kind of separator aside.
bool IsBelow(std::wstring path, const std::wstring& folder)
{
    if (folder.empty() || path.size() < folder.size())
        return false;
    for (wchar_t& c : path)
        if (c == L'/')
            c = L'\\';
    return ::CompareStringOrdinal(path.data(), static_cast<int>(folder.size()), folder.data(),
                                  static_cast<int>(folder.size()), TRUE) == CSTR_EQUAL;
}

}  // namespace

CProgramFolders CProgramFolders::ForThisUser()
{
    CProgramFolders folders;
    // A folder that is not absolute would make the current folder play a part.
    const std::string executable = CFileSystem::ExecutableFolder();
    if (IsAbsolute(WideText(executable)))
        folders.executable = executable;
    folders.executableInSystem = IsSystemFolder(folders.executable);
    folders.userLogs = UserFolder(L"LOCALAPPDATA", FOLDERID_LocalAppData);
    folders.userConfig = UserFolder(L"APPDATA", FOLDERID_RoamingAppData);
    return folders;
}

bool CProgramFolders::MakeUserFolder(const std::string& folder)
{
    if (folder.empty())
        return false;
    if (CFileSystem::IsFolder(folder))
        return true;
    const std::wstring wide = WideText(folder);
    // Each missing folder on the way, the last one included; the drive or share at the start
    // exists or the last step fails. The folders inherit the user's own rights from the profile.
    for (size_t at = 1; at <= wide.size(); ++at)
        if (at == wide.size() || IsSeparator(wide[at]))
            ::CreateDirectoryW(wide.substr(0, at).c_str(), nullptr);
    return CFileSystem::IsFolder(folder);
}

bool CProgramFolders::IsSystemFolder(const std::string& folder)
{
    const std::wstring wide = WideText(folder);
    // An administrator's Wine, or a machine without UAC, lets anyone write there.
    for (const KNOWNFOLDERID* id : {&FOLDERID_ProgramFiles, &FOLDERID_ProgramFilesX86, &FOLDERID_Windows})
        if (IsBelow(wide, KnownFolder(*id)))
            return true;
    return false;
}

bool CProgramFolders::CanWrite(const std::string& path)
{
    // Opening for writing asks the file's rights and its read-only flag at once, and changes nothing.
    const HANDLE file = ::CreateFileW(WideText(path).c_str(), GENERIC_WRITE,
                                      FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                      OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    ::CloseHandle(file);
    return true;
}
