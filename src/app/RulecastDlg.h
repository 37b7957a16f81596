#pragma once

#include <QDialog>
#include <functional>
#include <memory>
#include <string>

#include "app/ConvertHelper.h"
#include "app/DialogPrompts.h"

class QLineEdit;

// The main dialog: the user picks a rule file and a target folder and presses Convert, as often
// as wanted, until Quit. The target folder is remembered between runs in the driver's config.txt.
class CRulecastDlg : public QDialog {
    Q_OBJECT

public:
    using ConverterFactory = std::function<std::unique_ptr<CConvertHelper>()>;

    // Empty arguments give the real driver and Qt's message boxes and choosers. The dialog opens
    // at once: the driver is made and the remembered folder loaded here.
    explicit CRulecastDlg(ConverterFactory makeConverter = {},
                          std::unique_ptr<CDialogPrompts> prompts = {}, QWidget* parent = nullptr);
    ~CRulecastDlg() override;

    // The user's documents folder, or the home folder when none is known. It is not created.
    static std::string DocumentsFolder();

    void OnBrowseRuleFile();
    void OnBrowseTargetFolder();
    void OnOK();
    void OnQuit();
    // Escape and the close box end the dialog the way Quit does.
    void reject() override;

private:
    void CreateControls();
    void OnInitDialog(const ConverterFactory& makeConverter);
    // fromControls: the edits' texts go into the fields; otherwise the fields are shown.
    void UpdateData(bool fromControls);

    std::string rulePath;
    std::string targetFolder;
    // The rule file's name without extension; the project folder made before converting bears it.
    std::string ruleTitle;
    std::unique_ptr<CConvertHelper> converter;
    std::unique_ptr<CDialogPrompts> prompts_;
    QLineEdit* rulePathEdit_ = nullptr;
    QLineEdit* targetFolderEdit_ = nullptr;
};
