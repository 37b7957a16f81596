#pragma once

#include <windows.h>

#include "dialog/DialogPrompts.h"

// The dialog's prompts as Windows message boxes and the shell's choosers.
class CWin32DialogPrompts : public CDialogPrompts {
public:
    // owner is the window that message boxes and both choosers belong to.
    explicit CWin32DialogPrompts(HWND owner) : owner_(owner) {}

    void ShowMessage(std::string_view text, std::string_view details = "") override;
    bool AskYesNo(std::string_view text) override;
    bool ChooseRuleFile(std::string& path) override;
    bool ChooseFolder(const std::string& startFolder, std::string& folder) override;

private:
    HWND owner_;
};
