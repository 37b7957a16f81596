#include "dialog/RulecastDlg.h"

#include <string_view>

#include "platform/FileSystem.h"

namespace {

constexpr std::string_view kNoRuleFile = "Please select the file you want to convert!";
constexpr std::string_view kNoTargetFolder =
    "Please select the target folder you want to put the VB project into!";
constexpr std::string_view kOverwriteQuestion =
    "The folder of VB project has existed! Do you want to overwrite it?";
constexpr std::string_view kDriveNotReady = "The driver you select is not ready!";

}  // namespace

CRulecastDlg::CRulecastDlg(CDialogFace& face, ConverterFactory makeConverter)
    : face_(face), makeConverter_(std::move(makeConverter))
{
    if (!makeConverter_)
        makeConverter_ = [] { return std::make_unique<CConvertHelper>(); };
}

void CRulecastDlg::OnInitDialog()
{
    converter = makeConverter_();
    converter->LoadTargetFolder(targetFolder, face_.DocumentsFolder());
    UpdateData(false);
}

void CRulecastDlg::UpdateData(bool fromControls)
{
    if (fromControls)
        face_.ReadFields(rulePath, targetFolder);
    else
        face_.ShowFields(rulePath, targetFolder);
}

void CRulecastDlg::OnBrowseRuleFile()
{
    std::string chosen;
    if (!face_.ChooseRuleFile(chosen))
        return;
    rulePath = chosen;
    ruleTitle = CFileSystem::NameWithoutExtension(chosen);
    UpdateData(false);
}

void CRulecastDlg::OnBrowseTargetFolder()
{
    std::string chosen;
    if (!face_.ChooseFolder(targetFolder, chosen))
        return;
    targetFolder = chosen;
    UpdateData(false);
}

void CRulecastDlg::OnOK()
{
    UpdateData(true);
    if (rulePath.empty()) {
        face_.ShowMessage(kNoRuleFile);
        return;
    }
    if (targetFolder.empty()) {
        face_.ShowMessage(kNoTargetFolder);
        return;
    }
    if (!MakeProjectFolder())
        return;
    const bool converted = converter->ConvertFile(rulePath, targetFolder);
    if (converted) {
        face_.ShowMessage(CConvertHelper::kSucceededMessage);
    } else {
        // The details end with the log the message sends the user to, as the batch's lines do.
        std::string details = converter->FailureMessage(rulePath);
        std::string note = converter->LogNote(rulePath);
        if (!note.empty())
            details += "\n" + note;
        face_.ShowMessage(CConvertHelper::kFailedMessage, details);
    }
    converter->SaveTargetFolder(targetFolder);
}

bool CRulecastDlg::MakeProjectFolder()
{
    // Named after the rule file, not the module: when the two differ, this folder stays empty.
    switch (CConvertHelper::CreateProjectFolder(CFileSystem::JoinPath(targetFolder, ruleTitle))) {
    case CFileSystem::kAlreadyExists:
        return face_.AskYesNo(kOverwriteQuestion);
    case CFileSystem::kNotReady:
        face_.ShowMessage(kDriveNotReady);
        return false;
    default:
        // Made, or failed for another reason: the conversion runs and reports its own outcome.
        return true;
    }
}

void CRulecastDlg::OnQuit()
{
    UpdateData(true);
}
