#pragma once

#include <string>
#include <string_view>

// The message boxes and choosers of the main dialog. The dialog reaches the user only through
// these, so that its logic can run against scripted answers.
class CDialogPrompts {
public:
    virtual ~CDialogPrompts() = default;

    // A message box with an OK button. details, when not empty, is shown on request below the text.
    virtual void ShowMessage(std::string_view text, std::string_view details = "") = 0;
    // A question with Yes and No buttons; true for Yes.
    virtual bool AskYesNo(std::string_view text) = 0;
    // The rule-file chooser; false when the user cancels. path is the chosen file's full path.
    virtual bool ChooseRuleFile(std::string& path) = 0;
    // The folder chooser, opened at startFolder; false when the user cancels.
    virtual bool ChooseFolder(const std::string& startFolder, std::string& folder) = 0;
};
