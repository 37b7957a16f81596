#include "vbproject/VBProject.h"

#include <string_view>
#include <utility>

#include "common/MessageText.h"
#include "kbitems/VBUtility.h"
#include "platform/FileSystem.h"

namespace {

constexpr std::string_view kExtension = ".vbp";
constexpr std::string_view kCannotCreateFolder = "cannot create folder ITEM_00001: ITEM_00002";
constexpr std::string_view kLinkOfAnotherUser = "project folder 'ITEM_00001' is a link owned by another user";

} // namespace

CVBProject::CVBProject(std::string name, CTextEncoder* encoder) : CVBItem(std::move(name), encoder) {}

bool CVBProject::Create(const std::string& targetFolder)
{
    std::string projectFolder = CFileSystem::JoinPath(targetFolder, GetName());
    int code = CFileSystem::CreateFolder(projectFolder);
    if (code != CFileSystem::kCreated && code != CFileSystem::kAlreadyExists)
        return Fail(MessageText(kCannotCreateFolder, {projectFolder, CFileSystem::FolderErrorText(code)}));
    // In a folder that others may write to, the project's name may have been taken by a link to
    // this user's files; the kernel's protected-symlinks rule draws the line in the same place.
    if (code == CFileSystem::kAlreadyExists && CFileSystem::IsLinkOfAnotherUser(projectFolder))
        return Fail(MessageText(kLinkOfAnotherUser, {projectFolder}));
    std::string header;
    CVBUtility::GetProjectHeader(GetName(), header);
    return OpenWithHeader(CFileSystem::JoinPath(projectFolder, GetName() + std::string(kExtension)), header);
}
