#include "platform/FileSearch.h"

#include <algorithm>
#include <windows.h>

#include "common/Wildcard.h"
#include "platform/FileSystem.h"
#include "platform/WideText.h"

namespace {

constexpr const char* kSeparators = "/\\";

bool HasWildcard(const std::string& text)
{
    return text.find_first_of("*?") != std::string::npos;
}

bool IsSeparator(char c)
{
    return c == '/' || c == '\\';
}

bool IsDrive(const std::string& folder)
{
    return folder.size() >= 2 && folder[1] == ':' &&
           ((folder[0] >= 'A' && folder[0] <= 'Z') || (folder[0] >= 'a' && folder[0] <= 'z'));
}

// "\folder", "\\server\share", "\\?\C:\..." and "C:\..." do not depend on the current folder;
// "C:folder", on drive C's own current folder, does.
bool IsAbsolute(const std::string& folder)
{
    return (IsDrive(folder) && folder.size() > 2 && IsSeparator(folder[2])) ||
           (!folder.empty() && IsSeparator(folder[0]));
}

// The folder made absolute as Windows does it, drive-relative ones included; with a trailing
// separator.
std::string AbsoluteFolder(const std::string& folder)
{
    if (IsAbsolute(folder))
        return folder;
    if (!IsDrive(folder))
        return CFileSystem::JoinPath(CFileSystem::CurrentFolder(), folder);
    const std::wstring wide = WideText(folder);
    const DWORD size = ::GetFullPathNameW(wide.c_str(), 0, nullptr, nullptr);
    std::wstring full(size, L'\0');
    const DWORD length = ::GetFullPathNameW(wide.c_str(), size, full.data(), nullptr);
    if (length == 0 || length >= size)
        return folder;
    full.resize(length);
    return CFileSystem::JoinPath(Utf8Text(full), "");
}

// Whether the entry is a file once links are followed: a link whose target is gone, or that leads
// to a folder or a device, is none.
bool IsFileBehindLink(const std::string& path)
{
    const HANDLE handle = ::CreateFileW(WideText(path).c_str(), 0,
                                        FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                        OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (handle == INVALID_HANDLE_VALUE)
        return false;
    BY_HANDLE_FILE_INFORMATION information;
    const bool file = ::GetFileType(handle) == FILE_TYPE_DISK &&
                      ::GetFileInformationByHandle(handle, &information) &&
                      (information.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
    ::CloseHandle(handle);
    return file;
}

// Characters whole, so that "?" stands for one character also outside the Basic Multilingual Plane.
std::u32string CodePoints(const std::wstring& text)
{
    std::u32string points;
    for (size_t i = 0; i < text.size(); ++i) {
        const char32_t unit = text[i];
        if (unit >= 0xD800 && unit <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 &&
            text[i + 1] <= 0xDFFF) {
            points += 0x10000 + ((unit - 0xD800) << 10) + (text[i + 1] - 0xDC00);
            ++i;
        } else {
            points += unit;
        }
    }
    return points;
}

std::wstring Units(char32_t point)
{
    if (point < 0x10000)
        return std::wstring(1, static_cast<wchar_t>(point));
    point -= 0x10000;
    return {static_cast<wchar_t>(0xD800 + (point >> 10)), static_cast<wchar_t>(0xDC00 + (point & 0x3FF))};
}

// As NTFS compares names: by simple upper-casing, the same in every locale.
bool SameIgnoringCase(char32_t a, char32_t b)
{
    if (a == b)
        return true;
    const std::wstring left = Units(a), right = Units(b);
    return ::CompareStringOrdinal(left.data(), static_cast<int>(left.size()), right.data(),
                                  static_cast<int>(right.size()), TRUE) == CSTR_EQUAL;
}

}  // namespace

std::vector<std::string> CFileSearch::Find(const std::string& pattern)
{
    std::string trimmed = pattern;
    // "name\" names the entry "name", as it would without the separator.
    while (trimmed.size() > 1 && IsSeparator(trimmed.back()) && !HasWildcard(trimmed))
        trimmed.pop_back();

    // "C:Plant.pxkbx" is Plant.pxkbx in drive C's current folder.
    size_t folderEnd = trimmed.find_last_of(kSeparators);
    folderEnd = folderEnd != std::string::npos ? folderEnd + 1 : IsDrive(trimmed) ? 2 : 0;
    const std::string folder = AbsoluteFolder(trimmed.substr(0, folderEnd));
    const std::string wildcard = trimmed.substr(folderEnd);
    if (wildcard.empty())
        return {};
    // A name without wildcards is the file it names: the system finds it by its short 8.3 name
    // too, and in a folder that may be entered but not listed.
    if (!HasWildcard(wildcard)) {
        const std::string path = folder + wildcard;
        if (!CFileSystem::EntryExists(path) || CFileSystem::IsFolder(path))
            return {};
        return {path};
    }

    // The folder is listed whole and matched here: the system's own matching would also try the
    // short 8.3 names, so that "*.pxk" found "Plant.pxkbx".
    WIN32_FIND_DATAW entry;
    const HANDLE search = ::FindFirstFileExW(WideText(folder + "*").c_str(), FindExInfoBasic, &entry,
                                             FindExSearchNameMatch, nullptr, 0);
    if (search == INVALID_HANDLE_VALUE)
        return {};
    const std::u32string wanted = CodePoints(WideText(wildcard));
    std::vector<std::string> names;
    do {
        // Folders are no rule files; "." and ".." are folders too, as are links to folders.
        if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
            continue;
        const std::wstring name = entry.cFileName;
        if (!CWildcard::Matches(wanted, CodePoints(name), SameIgnoringCase))
            continue;
        if ((entry.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) && !IsFileBehindLink(folder + Utf8Text(name)))
            continue;
        names.push_back(Utf8Text(name));
    } while (::FindNextFileW(search, &entry));
    ::FindClose(search);
    std::sort(names.begin(), names.end());
    for (std::string& name : names)
        name = folder + name;
    return names;
}

std::vector<std::string> CFileSearch::Names(const std::string& folder)
{
    WIN32_FIND_DATAW entry;
    const HANDLE search = ::FindFirstFileExW(WideText(CFileSystem::JoinPath(folder, "*")).c_str(),
                                             FindExInfoBasic, &entry, FindExSearchNameMatch, nullptr, 0);
    if (search == INVALID_HANDLE_VALUE)
        return {};
    std::vector<std::string> names;
    do {
        const std::wstring name = entry.cFileName;
        if (name != L"." && name != L"..")
            names.push_back(Utf8Text(name));
    } while (::FindNextFileW(search, &entry));
    ::FindClose(search);
    return names;
}
