#include "dialog/RulecastDlg.h"

#include <string_view>

#include "app/RuleFileReport.h"
#include "common/MessageText.h"
#include "dialog/TargetFolderConfig.h"
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
constexpr std::string_view kMoreWarnings = "... and {count} more warnings";

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
    converter_ = makeConverter_();
    CTargetFolderConfig(converter_->Folders()).Load(targetFolder_, face_.DocumentsFolder());
    UpdateData(false);
}

void CRulecastDlg::OpenWith(const std::string& ruleFile)
{
    if (ruleFile.empty() || !CFileSystem::EntryExists(ruleFile) || CFileSystem::IsFolder(ruleFile))
        return;
    rulePath_ = ruleFile;
    ruleTitle_ = NameWithoutExtension(ruleFile);
    UpdateData(false);
}

void CRulecastDlg::UpdateData(bool fromControls)
{
    if (fromControls)
        face_.ReadFields(rulePath_, targetFolder_);
    else
        face_.ShowFields(rulePath_, targetFolder_);
}

void CRulecastDlg::OnBrowseRuleFile()
{
    std::string chosen;
    if (!face_.ChooseRuleFile(chosen))
        return;
    rulePath_ = chosen;
    ruleTitle_ = NameWithoutExtension(chosen);
    UpdateData(false);
}

void CRulecastDlg::OnBrowseTargetFolder()
{
    std::string chosen;
    if (!face_.ChooseFolder(targetFolder_, chosen))
        return;
    targetFolder_ = chosen;
    UpdateData(false);
}

void CRulecastDlg::OnOK()
{
    UpdateData(true);
    if (rulePath_.empty()) {
        face_.ShowMessage(kNoRuleFile);
        return;
    }
    if (targetFolder_.empty()) {
        face_.ShowMessage(kNoTargetFolder);
        return;
    }
    bool madeFolder = false;
    if (!MakeProjectFolder(madeFolder))
        return;
    const bool converted = converter_->ConvertFile(rulePath_, targetFolder_);
    // A folder made for a conversion that failed would only ask the overwrite question next time.
    if (!converted && madeFolder)
        CFileSystem::RemoveEmptyFolder(CFileSystem::JoinPath(targetFolder_, ruleTitle_));
    if (converted) {
        face_.ShowMessage(CConvertHelper::kSucceededMessage, WarningDetails());
    } else {
        // The details end with the log the message sends the user to, as the batch's lines do.
        std::string details = converter_->FailureMessage(rulePath_);
        std::string note = converter_->LogNote(rulePath_);
        if (!note.empty())
            details += "\n" + note;
        face_.ShowMessage(CConvertHelper::kFailedMessage, details);
    }
    CTargetFolderConfig(converter_->Folders()).Save(targetFolder_);
}

std::string CRulecastDlg::WarningDetails() const
{
    const std::vector<CKBWarning>& warnings = converter_->Warnings();
    std::string details;
    for (size_t i = 0; i < warnings.size() && i < kShownWarnings; ++i) {
        if (i > 0)
            details += "\n";
        details += CRuleFileReport::Warning(rulePath_, warnings[i].line, warnings[i].text);
    }
    if (warnings.size() > kShownWarnings)
        details += "\n" + MessageText(kMoreWarnings, {{"count", std::to_string(warnings.size() - kShownWarnings)}});
    return details;
}

bool CRulecastDlg::MakeProjectFolder(bool& made)
{
    // Named after the rule file, not the module: when the two differ, this folder stays empty.
    switch (CFileSystem::CreateFolder(CFileSystem::JoinPath(targetFolder_, ruleTitle_))) {
    case CFileSystem::FolderOutcome::Created:
        made = true;
        return true;
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
