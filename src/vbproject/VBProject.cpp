#include "vbproject/VBProject.h"

#include <string_view>
#include <utility>

#include "kbitems/VBUtility.h"
#include "platform/FileSystem.h"

namespace {

constexpr std::string_view kExtension = ".vbp";

} // namespace

CVBProject::CVBProject(std::string name) : CVBItem(std::move(name)) {}

bool CVBProject::Create(const std::string& targetFolder)
{
    std::string projectFolder = targetFolder + "/" + GetName();
    int code = CFileSystem::CreateFolder(projectFolder);
    if (code != CFileSystem::kCreated && code != CFileSystem::kAlreadyExists)
        return Fail("cannot create folder " + projectFolder + ": " + CFileSystem::FolderErrorText(code));
    std::string header;
    CVBUtility::GetProjectHeader(GetName(), header);
    return OpenWithHeader(projectFolder + "/" + GetName() + std::string(kExtension), header);
}
