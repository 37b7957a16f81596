#pragma once

#include "dialog/DialogPrompts.h"

class QWidget;

// The dialog's prompts as Qt message boxes and file choosers.
class CQtDialogPrompts : public CDialogPrompts {
public:
    // owner is the window that message boxes and the file chooser belong to.
    explicit CQtDialogPrompts(QWidget* owner) : owner_(owner) {}

    void ShowMessage(std::string_view text, std::string_view details = "") override;
    bool AskYesNo(std::string_view text) override;
    bool ChooseRuleFile(std::string& path) override;
    bool ChooseFolder(const std::string& startFolder, std::string& folder) override;

private:
    QWidget* owner_;
};
