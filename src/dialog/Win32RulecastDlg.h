#pragma once

#include <memory>
#include <string>
#include <windows.h>

#include "dialog/DialogFace.h"
#include "dialog/RulecastDlg.h"

// The main dialog's Windows window, made from the dialog resource: it shows the fields, buttons
// and prompts, and leaves every decision to the dialog's logic.
class CWin32RulecastDlg : public CDialogFace {
public:
    // ruleFile, when it names a file, is shown as the rule file chosen.
    explicit CWin32RulecastDlg(std::string ruleFile = {});
    ~CWin32RulecastDlg() override;

    // Shows the dialog until the user closes it; false when no window could be made.
    bool DoModal();

    void ShowFields(const std::string& rulePath, const std::string& targetFolder) override;
    void ReadFields(std::string& rulePath, std::string& targetFolder) override;
    // The user's documents folder, or the profile folder when the shell knows none or it is missing.
    std::string DocumentsFolder() override;
    void ShowMessage(std::string_view text, std::string_view details = "") override;
    bool AskYesNo(std::string_view text) override;
    bool ChooseRuleFile(std::string& path) override;
    bool ChooseFolder(const std::string& startFolder, std::string& folder) override;

private:
    static INT_PTR CALLBACK DialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    void OnInitDialog(HWND window);
    void OnCommand(int id);
    void SetIcons();

    CRulecastDlg logic_;
    std::string ruleFile_;
    std::unique_ptr<CDialogPrompts> prompts_;
    HWND window_ = nullptr;
    HICON largeIcon_ = nullptr;
    HICON smallIcon_ = nullptr;
};
