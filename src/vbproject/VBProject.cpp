#include "vbproject/VBProject.h"

#include <string_view>
#include <utility>

#include "common/MessageText.h"
#include "kbitems/VBUtility.h"
#include "platform/Console.h"
#include "platform/FileSystem.h"
#include "platform/TextFile.h"

namespace {

constexpr std::string_view kExtension = ".vbp";
constexpr std::string_view kCannotCreateFolder = "cannot create folder ITEM_00001: ITEM_00002";
constexpr std::string_view kCannotLockFolder = "cannot lock folder ITEM_00001: ITEM_00002";
constexpr std::string_view kWaiting = "rulecast: waiting for another conversion into ITEM_00001 to finish";

} // namespace

CVBProject::CVBProject(std::string name, CTextEncoder* encoder) : CVBItem(std::move(name), encoder) {}

bool CVBProject::Create(const std::string& targetFolder)
{
    std::string projectFolder = targetFolder + "/" + GetName();
    int code = CFileSystem::CreateFolder(projectFolder);
    if (code != CFileSystem::kCreated && code != CFileSystem::kAlreadyExists)
        return Fail(MessageText(kCannotCreateFolder, {projectFolder, CFileSystem::FolderErrorText(code)}));
    // Something else at the folder's name is reported when the project file cannot be opened.
    if (CFileSystem::IsFolder(projectFolder)) {
        if (!lock_.Lock(projectFolder, [&] { CConsole::Warn(MessageText(kWaiting, {projectFolder})); }))
            return Fail(MessageText(kCannotLockFolder, {projectFolder, lock_.ErrorText()}));
        CTextFile::RemoveLeftovers(projectFolder);
    }
    std::string header;
    CVBUtility::GetProjectHeader(GetName(), header);
    return OpenWithHeader(projectFolder + "/" + GetName() + std::string(kExtension), header);
}
