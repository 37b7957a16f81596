#include "dialog/Win32RulecastDlg.h"

#include <commctrl.h>
#include <cwchar>
#include <shlobj.h>

#include "dialog/Win32DialogPrompts.h"
#include "dialog/Win32Resources.h"
#include "platform/FileSystem.h"
#include "platform/WideText.h"

namespace {

std::wstring EditText(HWND dialog, int id)
{
    const HWND edit = ::GetDlgItem(dialog, id);
    std::wstring text(static_cast<size_t>(::GetWindowTextLengthW(edit)) + 1, L'\0');
    text.resize(static_cast<size_t>(::GetWindowTextW(edit, text.data(), static_cast<int>(text.size()))));
    return text;
}

// A path whose bytes are not UTF-8 does not survive the trip through the edit, so the field keeps
// its own bytes for as long as the edit still shows them.
void ReadEdit(HWND dialog, int id, std::string& field)
{
    const std::wstring shown = EditText(dialog, id);
    if (shown != WideText(field))
        field = Utf8Text(shown);
}

std::string KnownFolder(REFKNOWNFOLDERID id)
{
    PWSTR path = nullptr;
    // No flag asks the shell to create it.
    const HRESULT found = ::SHGetKnownFolderPath(id, 0, nullptr, &path);
    std::string folder = SUCCEEDED(found) ? Utf8Text(path, std::wcslen(path)) : std::string();
    ::CoTaskMemFree(path);
    return folder;
}

}  // namespace

CWin32RulecastDlg::CWin32RulecastDlg(std::string ruleFile) : logic_(*this), ruleFile_(std::move(ruleFile)) {}

CWin32RulecastDlg::~CWin32RulecastDlg()
{
    if (largeIcon_)
        ::DestroyIcon(largeIcon_);
    if (smallIcon_)
        ::DestroyIcon(smallIcon_);
}

bool CWin32RulecastDlg::DoModal()
{
    return ::DialogBoxParamW(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDD_RULECAST), nullptr,
                             DialogProc, reinterpret_cast<LPARAM>(this)) != -1;
}

INT_PTR CALLBACK CWin32RulecastDlg::DialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_INITDIALOG) {
        ::SetWindowLongPtrW(window, DWLP_USER, lParam);
        reinterpret_cast<CWin32RulecastDlg*>(lParam)->OnInitDialog(window);
        // The dialog manager puts the focus on the first control of the tab order.
        return TRUE;
    }
    auto* dialog = reinterpret_cast<CWin32RulecastDlg*>(::GetWindowLongPtrW(window, DWLP_USER));
    if (dialog && message == WM_COMMAND && HIWORD(wParam) == BN_CLICKED) {
        dialog->OnCommand(LOWORD(wParam));
        return TRUE;
    }
    return FALSE;
}

void CWin32RulecastDlg::OnInitDialog(HWND window)
{
    window_ = window;
    prompts_ = std::make_unique<CWin32DialogPrompts>(window);
    SetIcons();
    logic_.OnInitDialog();
    logic_.OpenWith(ruleFile_);
}

void CWin32RulecastDlg::SetIcons()
{
    const HINSTANCE instance = ::GetModuleHandleW(nullptr);
    // Scaled down from the icon's larger pictures to the sizes of the screen's scale.
    ::LoadIconMetric(instance, MAKEINTRESOURCEW(IDR_MAINFRAME), LIM_LARGE, &largeIcon_);
    ::LoadIconMetric(instance, MAKEINTRESOURCEW(IDR_MAINFRAME), LIM_SMALL, &smallIcon_);
    ::SendMessageW(window_, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(largeIcon_));
    ::SendMessageW(window_, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(smallIcon_));
}

// Enter comes as the Convert button (IDOK); Escape and the close box as the Quit button (IDCANCEL).
void CWin32RulecastDlg::OnCommand(int id)
{
    switch (id) {
    case IDOK:
        logic_.OnOK();
        break;
    case IDCANCEL:
        logic_.OnQuit();
        ::EndDialog(window_, IDOK);
        break;
    case IDC_BROWSE_RULE:
        logic_.OnBrowseRuleFile();
        break;
    case IDC_BROWSE_FOLDER:
        logic_.OnBrowseTargetFolder();
        break;
    default:
        break;
    }
}

void CWin32RulecastDlg::ShowFields(const std::string& rulePath, const std::string& targetFolder)
{
    ::SetDlgItemTextW(window_, IDC_RULE_PATH, WideText(rulePath).c_str());
    ::SetDlgItemTextW(window_, IDC_TARGET_FOLDER, WideText(targetFolder).c_str());
}

void CWin32RulecastDlg::ReadFields(std::string& rulePath, std::string& targetFolder)
{
    ReadEdit(window_, IDC_RULE_PATH, rulePath);
    ReadEdit(window_, IDC_TARGET_FOLDER, targetFolder);
}

std::string CWin32RulecastDlg::DocumentsFolder()
{
    // A missing one would fail the first Convert; it is not made, since the user may want another.
    std::string documents = KnownFolder(FOLDERID_Documents);
    return documents.empty() || !CFileSystem::IsFolder(documents) ? KnownFolder(FOLDERID_Profile) : documents;
}

void CWin32RulecastDlg::ShowMessage(std::string_view text, std::string_view details)
{
    prompts_->ShowMessage(text, details);
}

bool CWin32RulecastDlg::AskYesNo(std::string_view text)
{
    return prompts_->AskYesNo(text);
}

bool CWin32RulecastDlg::ChooseRuleFile(std::string& path)
{
    return prompts_->ChooseRuleFile(path);
}

bool CWin32RulecastDlg::ChooseFolder(const std::string& startFolder, std::string& folder)
{
    return prompts_->ChooseFolder(startFolder, folder);
}
