#include "vbproject/VBProject.h"

#include <cstring>
#include <string_view>
#include <utility>

#include "kbitems/VBUtility.h"
#include "platform/FileSystem.h"

namespace {

constexpr std::string_view kExtension = ".vbp";

std::string FolderErrorText(int code)
{
    if (code == CFileSystem::kNotReady)
        return "device not ready";
    return std::strerror(code);
}

} // namespace

CVBProject::CVBProject(std::string name, CTextEncoder* encoder) : CVBItem(std::move(name), encoder) {}

bool CVBProject::Create(const std::string& targetFolder)
{
    std::string projectFolder = targetFolder + "/" + GetName();
    int code = CFileSystem::CreateFolder(projectFolder);
    if (code != CFileSystem::kCreated && code != CFileSystem::kAlreadyExists)
        return Fail("cannot create folder " + projectFolder + ": " + FolderErrorText(code));
    std::string header;
    CVBUtility::GetProjectHeader(GetName(), header);
    return OpenWithHeader(projectFolder + "/" + GetName() + std::string(kExtension), header);
}
