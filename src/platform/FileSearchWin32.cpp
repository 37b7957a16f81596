#include "platform/FileSearch.h"

#include <algorithm>
#include <windows.h>

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

// "\folder", "\\server\share" and "C:..." do not depend on the current folder.
bool IsAbsolute(const std::string& folder)
{
    const bool drive = folder.size() >= 2 && folder[1] == ':' &&
                       ((folder[0] >= 'A' && folder[0] <= 'Z') || (folder[0] >= 'a' && folder[0] <= 'z'));
    return drive || (!folder.empty() && IsSeparator(folder[0]));
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

    const size_t separator = trimmed.find_last_of(kSeparators);
    std::string folder = separator == std::string::npos ? "" : trimmed.substr(0, separator + 1);
    const std::string wildcard = separator == std::string::npos ? trimmed : trimmed.substr(separator + 1);
    if (!IsAbsolute(folder))
        folder = CFileSystem::CurrentFolder() + "/" + folder;
    if (wildcard.empty())
        return {};

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
        if (Matches(wanted, CodePoints(name), SameIgnoringCase))
            names.push_back(Utf8Text(name));
    } while (::FindNextFileW(search, &entry));
    ::FindClose(search);
    std::sort(names.begin(), names.end());
    for (std::string& name : names)
        name = folder + name;
    return names;
}
