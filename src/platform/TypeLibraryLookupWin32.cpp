#include "platform/TypeLibraryLookup.h"

#include <vector>
#include <windows.h>

#include "platform/WideText.h"

namespace {

constexpr const wchar_t* kTypeLibraryKey =
    L"TypeLib\\{38000000-F1C5-412B-B40F-DBFCAEFAAFB6}\\97.0\\0\\win32";

}  // namespace

std::optional<std::string> CTypeLibraryLookup::FindHostTypeLibrary()
{
    // The value is read whole, however long: a path cut at some buffer's end would name nothing.
    // An expandable string is handed out as it stands, as a plain reader of the key sees it.
    constexpr DWORD kFlags = RRF_RT_REG_SZ | RRF_RT_REG_EXPAND_SZ | RRF_NOEXPAND;
    for (int attempt = 0; attempt < 3; ++attempt) {
        DWORD size = 0;
        if (::RegGetValueW(HKEY_CLASSES_ROOT, kTypeLibraryKey, nullptr, kFlags, nullptr, nullptr, &size) !=
            ERROR_SUCCESS)
            return std::nullopt;
        std::vector<wchar_t> value(size / sizeof(wchar_t) + 1);
        size = static_cast<DWORD>(value.size() * sizeof(wchar_t));
        const LSTATUS status =
            ::RegGetValueW(HKEY_CLASSES_ROOT, kTypeLibraryKey, nullptr, kFlags, nullptr, value.data(), &size);
        if (status == ERROR_MORE_DATA)
            continue;  // changed between the two calls
        if (status != ERROR_SUCCESS)
            return std::nullopt;
        // The size counts the terminator; a reader of the value sees a C string.
        return Utf8Text(std::wstring(value.data()));
    }
    return std::nullopt;
}
