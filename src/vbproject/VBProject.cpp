#include "vbproject/VBProject.h"

#include <string_view>
#include <utility>

#include "common/MessageText.h"
#include "log/TextFile.h"
#include "platform/Console.h"
#include "platform/FileSystem.h"
#include "vbproject/ReplaceJournal.h"
#include "vbproject/VBFileTexts.h"

namespace {

constexpr std::string_view kExtension = ".vbp";
constexpr std::string_view kCannotCreateFolder = "cannot create folder {path}: {reason}";
constexpr std::string_view kCannotLockFolder = "cannot lock folder {path}: {reason}";
constexpr std::string_view kWaiting = "rulecast: waiting for another conversion into {path} to finish";
constexpr std::string_view kLinkOfAnotherUser = "project folder '{path}' is a link owned by another user";
constexpr std::string_view kUndone =
    "rulecast: note: a conversion into {path} was cut short before it could finish; its earlier files are back";
constexpr std::string_view kCannotUndo = "cannot put back the earlier files of a conversion into {path} that was cut short: {reason}";

} // namespace

CVBProject::CVBProject(std::string name, CTextEncoder* encoder) : CVBItem(std::move(name), encoder) {}

bool CVBProject::Create(const std::string& targetFolder)
{
    std::string projectFolder = CFileSystem::JoinPath(targetFolder, GetName());
    std::string whyNot;
    const CFileSystem::FolderOutcome outcome = CFileSystem::CreateFolder(projectFolder, whyNot);
    if (outcome != CFileSystem::FolderOutcome::Created && outcome != CFileSystem::FolderOutcome::AlreadyExists)
        return Fail(MessageText(kCannotCreateFolder, {{"path", projectFolder}, {"reason", whyNot}}));
    // In a folder that others may write to, the project's name may have been taken by a link to
    // this user's files; the kernel's protected-symlinks rule draws the line in the same place.
    if (outcome == CFileSystem::FolderOutcome::AlreadyExists && CFileSystem::IsLinkOfAnotherUser(projectFolder))
        return Fail(MessageText(kLinkOfAnotherUser, {{"path", projectFolder}}));
    // Something else at the folder's name is reported when the project file cannot be opened.
    if (CFileSystem::IsFolder(projectFolder)) {
        if (!lock_.Lock(projectFolder, [&] { CConsole::Warn(MessageText(kWaiting, {{"path", projectFolder}})); }))
            return Fail(MessageText(kCannotLockFolder, {{"path", projectFolder}, {"reason", lock_.ErrorText()}}));
        if (!Recover(projectFolder))
            return false;
        CTextFile::RemoveLeftovers(projectFolder);
    }
    std::string header;
    CVBFileTexts::GetProjectHeader(GetName(), header);
    return OpenWithHeader(CFileSystem::JoinPath(projectFolder, GetName() + std::string(kExtension)), header);
}

bool CVBProject::Recover(const std::string& projectFolder)
{
    std::string whyNot;
    switch (CReplaceJournal::Recover(projectFolder, Sink(), whyNot)) {
    case CReplaceJournal::Recovery::kFailed:
        return Fail(MessageText(kCannotUndo, {{"path", projectFolder}, {"reason", whyNot}}));
    case CReplaceJournal::Recovery::kUndone:
        CConsole::Warn(MessageText(kUndone, {{"path", projectFolder}}));
        return true;
    case CReplaceJournal::Recovery::kNothing:
        break;
    }
    return true;
}
