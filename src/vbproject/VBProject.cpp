#include "vbproject/VBProject.h"

#include <string_view>
#include <utility>

#include "common/MessageText.h"
#include "kbitems/VBUtility.h"
#include "platform/FileSystem.h"

namespace {

constexpr std::string_view kExtension = ".vbp";
constexpr std::string_view kCannotCreateFolder = "cannot create folder ITEM_00001: ITEM_00002";

} // namespace

CVBProject::CVBProject(std::string name, CTextEncoder* encoder) : CVBItem(std::move(name), encoder) {}

bool CVBProject::Create(const std::string& targetFolder)
{
    std::string projectFolder = targetFolder + "/" + GetName();
    int code = CFileSystem::CreateFolder(projectFolder);
    if (code != CFileSystem::kCreated && code != CFileSystem::kAlreadyExists)
        return Fail(MessageText(kCannotCreateFolder, {projectFolder, CFileSystem::FolderErrorText(code)}));
    std::string header;
    CVBUtility::GetProjectHeader(GetName(), header);
    return OpenWithHeader(projectFolder + "/" + GetName() + std::string(kExtension), header);
}
