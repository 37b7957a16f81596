#include "vbproject/VBProject.h"

#include <string_view>
#include <utility>

#include "common/MessageText.h"
#include "platform/Console.h"
#include "platform/FileSystem.h"
#include "platform/TextFile.h"
#include "vbproject/VBFileTexts.h"

namespace {

constexpr std::string_view kExtension = ".vbp";
constexpr std::string_view kCannotCreateFolder = "cannot create folder {path}: {reason}";
constexpr std::string_view kCannotLockFolder = "cannot lock folder {path}: {reason}";
constexpr std::string_view kWaiting = "rulecast: waiting for another conversion into {path} to finish";
constexpr std::string_view kLinkOfAnotherUser = "project folder '{path}' is a link owned by another user";

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
        CTextFile::RemoveLeftovers(projectFolder);
    }
    std::string header;
    CVBFileTexts::GetProjectHeader(GetName(), header);
    return OpenWithHeader(CFileSystem::JoinPath(projectFolder, GetName() + std::string(kExtension)), header);
}
