#include "dialog/RulecastDlg.h"

#include <string_view>

#include "app/RuleFileReport.h"
#include "app/TargetFolderConfig.h"
#include "common/MessageText.h"
#include "platform/FileSystem.h"

namespace {

constexpr std::string_view kNoRuleFile = "Please select the file you want to convert!";
constexpr std::string_view kNoTargetFolder =
    "Please select the target folder you want to put the VB project into!";
constexpr std::string_view kOverwriteQuestion =
    "The folder of VB project has existed! Do you want to overwrite it?";
constexpr std::string_view kDriveNotReady = "The driver you select is not ready!";
// A message box holds a screenful: the rest of the warnings are counted, as the batch would list them.
constexpr size_t kShownWarnings = 10;
constexpr std::string_view kMoreWarnings = "... and ITEM_00001 more warnings";

// The last component of path without its last extension: "/r/Pumps.v2.pxkbx" gives "Pumps.v2".
std::string NameWithoutExtension(const std::string& path)
{
    std::string name = path.substr(path.find_last_of(CFileSystem::PathSeparators()) + 1);
    // A leading dot starts a hidden file's name, not an extension.
    const size_t dot = name.rfind('.');
    if (dot != std::string::npos && dot > 0)
        name.erase(dot);
    return name;
}

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
    CTargetFolderConfig(converter->Folders()).Load(targetFolder, face_.DocumentsFolder());
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
    ruleTitle = NameWithoutExtension(chosen);
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
        face_.ShowMessage(CConvertHelper::kSucceededMessage, WarningDetails());
    } else {
        // The details end with the log the message sends the user to, as the batch's lines do.
        std::string details = converter->FailureMessage(rulePath);
        std::string note = converter->LogNote(rulePath);
        if (!note.empty())
            details += "\n" + note;
        face_.ShowMessage(CConvertHelper::kFailedMessage, details);
    }
    CTargetFolderConfig(converter->Folders()).Save(targetFolder);
}

std::string CRulecastDlg::WarningDetails() const
{
    const std::vector<CKBWarning>& warnings = converter->Warnings();
    std::string details;
    for (size_t i = 0; i < warnings.size() && i < kShownWarnings; ++i) {
        if (i > 0)
            details += "\n";
        details += CRuleFileReport::Warning(rulePath, warnings[i].line, warnings[i].text);
    }
    if (warnings.size() > kShownWarnings)
        details += "\n" + MessageText(kMoreWarnings, {std::to_string(warnings.size() - kShownWarnings)});
    return details;
}

bool CRulecastDlg::MakeProjectFolder()
{
    // Named after the rule file, not the module: when the two differ, this folder stays empty.
    switch (CFileSystem::CreateFolder(targetFolder + "/" + ruleTitle)) {
    case CFileSystem::FolderOutcome::AlreadyExists:
        return face_.AskYesNo(kOverwriteQuestion);
    case CFileSystem::FolderOutcome::NotReady:
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
