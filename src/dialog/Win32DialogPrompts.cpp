#include "dialog/Win32DialogPrompts.h"

#include <algorithm>
#include <commdlg.h>
#include <cwchar>
#include <memory>
#include <shlobj.h>
#include <string>
#include <type_traits>

#include "platform/WideText.h"

namespace {

constexpr wchar_t kMessageTitle[] = L"Rulecast";
// One entry, its name and then its pattern; the literal's own terminator ends the list.
constexpr wchar_t kRuleFileFilter[] = L"KB Rules(*.pxkbx)\0*.pxkbx\0";
constexpr wchar_t kFolderChooserTitle[] = L"Please select a Folder.";
// Room for the longest path Windows can name.
constexpr size_t kPathRoom = 32768;

struct ShellFree {
    void operator()(void* item) const { ::CoTaskMemFree(item); }
};
using ShellPointer = std::unique_ptr<std::remove_pointer_t<PIDLIST_ABSOLUTE>, ShellFree>;

std::wstring WideMessage(std::string_view text, std::string_view details)
{
    std::string message(text);
    if (!details.empty())
        message += "\n\n" + std::string(details);
    return WideText(message);
}

// The shell selects the folder by its path, which it reads with backslashes only.
int CALLBACK SelectStartFolder(HWND chooser, UINT message, LPARAM, LPARAM startFolder)
{
    if (message == BFFM_INITIALIZED)
        ::SendMessageW(chooser, BFFM_SETSELECTIONW, TRUE, startFolder);
    return 0;
}

}  // namespace

void CWin32DialogPrompts::ShowMessage(std::string_view text, std::string_view details)
{
    ::MessageBoxW(owner_, WideMessage(text, details).c_str(), kMessageTitle, MB_OK | MB_ICONEXCLAMATION);
}

bool CWin32DialogPrompts::AskYesNo(std::string_view text)
{
    return ::MessageBoxW(owner_, WideMessage(text, "").c_str(), kMessageTitle,
                         MB_YESNO | MB_ICONQUESTION) == IDYES;
}

bool CWin32DialogPrompts::ChooseRuleFile(std::string& path)
{
    std::wstring chosen(kPathRoom, L'\0');
    OPENFILENAMEW request{};
    request.lStructSize = sizeof request;
    request.hwndOwner = owner_;
    request.lpstrFilter = kRuleFileFilter;
    request.nFilterIndex = 1;
    request.lpstrFile = chosen.data();
    request.nMaxFile = static_cast<DWORD>(chosen.size());
    // The working folder stays where it was: a chooser should not hold a folder the user browsed.
    request.Flags = OFN_EXPLORER | OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY | OFN_NOCHANGEDIR;
    if (!::GetOpenFileNameW(&request))
        return false;
    path = Utf8Text(chosen.c_str(), std::wcslen(chosen.c_str()));
    return true;
}

bool CWin32DialogPrompts::ChooseFolder(const std::string& startFolder, std::string& folder)
{
    PIDLIST_ABSOLUTE drives = nullptr;
    if (FAILED(::SHGetSpecialFolderLocation(nullptr, CSIDL_DRIVES, &drives)))
        return false;
    const ShellPointer root(drives);
    std::wstring start = WideText(startFolder);
    std::replace(start.begin(), start.end(), L'/', L'\\');

    BROWSEINFOW request{};
    request.hwndOwner = owner_;
    request.pidlRoot = root.get();
    request.lpszTitle = kFolderChooserTitle;
    request.ulFlags = BIF_RETURNONLYFSDIRS;
    request.lpfn = SelectStartFolder;
    request.lParam = reinterpret_cast<LPARAM>(start.c_str());
    const ShellPointer chosen(::SHBrowseForFolderW(&request));
    if (!chosen)
        return false;
    PWSTR path = nullptr;
    if (FAILED(::SHGetNameFromIDList(chosen.get(), SIGDN_FILESYSPATH, &path)))
        return false;
    folder = Utf8Text(path, std::wcslen(path));
    ::CoTaskMemFree(path);
    return true;
}
