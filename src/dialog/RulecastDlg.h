#pragma once

#include <functional>
#include <memory>
#include <string>

#include "app/ConvertHelper.h"
#include "dialog/DialogFace.h"

// The main dialog's logic, apart from any toolkit: the user picks a rule file and a target folder
// and presses Convert, as often as wanted, until Quit. The target folder is remembered between
// runs in the driver's config.txt. A window (the face) shows the fields and asks the user.
class CRulecastDlg {
public:
    using ConverterFactory = std::function<std::unique_ptr<CConvertHelper>()>;

    // An empty factory gives the real driver.
    explicit CRulecastDlg(CDialogFace& face, ConverterFactory makeConverter = {});

    // Makes the driver and shows the remembered folder, or the documents folder.
    void OnInitDialog();
    // The rule file the dialog was opened with, shown as if chosen when it names a file; otherwise
    // the field stays as it is.
    void OpenWith(const std::string& ruleFile);
    void OnBrowseRuleFile();
    void OnBrowseTargetFolder();
    void OnOK();
    // The face closes the window after this; nothing is saved or asked.
    void OnQuit();

private:
    // fromControls: the edits' texts go into the fields; otherwise the fields are shown.
    void UpdateData(bool fromControls);
    // False when the user declines or the drive is not ready: nothing more happens. made tells
    // whether the folder was made now.
    bool MakeProjectFolder(bool& made);
    // The last conversion's first warnings as the batch reports them, one a line, and how many
    // more there are; empty when it had none.
    std::string WarningDetails() const;

    CDialogFace& face_;
    ConverterFactory makeConverter_;
    std::string rulePath_;
    std::string targetFolder_;
    // The rule file's name without extension; the project folder made before converting bears it.
    std::string ruleTitle_;
    std::unique_ptr<CConvertHelper> converter_;
};
