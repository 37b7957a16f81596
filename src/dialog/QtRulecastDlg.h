#pragma once

#include <QDialog>
#include <memory>
#include <string>

#include "dialog/DialogFace.h"
#include "dialog/RulecastDlg.h"

class QLineEdit;

// The main dialog's Qt window: it shows the fields, buttons and prompts, and leaves every decision
// to the dialog's logic.
class CQtRulecastDlg : public QDialog, public CDialogFace {
    Q_OBJECT

public:
    // Empty arguments give the real driver and Qt's message boxes and choosers. The dialog opens
    // at once: the driver is made and the remembered folder loaded here.
    explicit CQtRulecastDlg(CRulecastDlg::ConverterFactory makeConverter = {},
                            std::unique_ptr<CDialogPrompts> prompts = {}, QWidget* parent = nullptr);
    ~CQtRulecastDlg() override;

    // ruleFile, when it names a file, is shown as the rule file chosen.
    void OpenWith(const std::string& ruleFile) { logic_.OpenWith(ruleFile); }

    void ShowFields(const std::string& rulePath, const std::string& targetFolder) override;
    void ReadFields(std::string& rulePath, std::string& targetFolder) override;
    // The user's documents folder, or the home folder when none is known or it is missing.
    std::string DocumentsFolder() override;
    void ShowMessage(std::string_view text, std::string_view details = "") override;
    bool AskYesNo(std::string_view text) override;
    bool ChooseRuleFile(std::string& path) override;
    bool ChooseFolder(const std::string& startFolder, std::string& folder) override;

    // Escape and the close box end the dialog the way Quit does.
    void reject() override;

private:
    void CreateControls();
    void OnQuit();

    std::unique_ptr<CDialogPrompts> prompts_;
    CRulecastDlg logic_;
    QLineEdit* rulePathEdit_ = nullptr;
    QLineEdit* targetFolderEdit_ = nullptr;
};
