#include "vbproject/VBProject.h"

#include <string_view>
#include <utility>

#include "common/MessageText.h"
#include "platform/FileSystem.h"
#include "vbproject/VBFileTexts.h"

namespace {

constexpr std::string_view kExtension = ".vbp";
constexpr std::string_view kCannotCreateFolder = "cannot create folder ITEM_00001: ITEM_00002";

} // namespace

CVBProject::CVBProject(std::string name, CTextEncoder* encoder) : CVBItem(std::move(name), encoder) {}

bool CVBProject::Create(const std::string& targetFolder)
{
    std::string projectFolder = targetFolder + "/" + GetName();
    std::string whyNot;
    const CFileSystem::FolderOutcome outcome = CFileSystem::CreateFolder(projectFolder, whyNot);
    if (outcome != CFileSystem::FolderOutcome::Created && outcome != CFileSystem::FolderOutcome::AlreadyExists)
        return Fail(MessageText(kCannotCreateFolder, {projectFolder, whyNot}));
    std::string header;
    CVBFileTexts::GetProjectHeader(GetName(), header);
    return OpenWithHeader(projectFolder + "/" + GetName() + std::string(kExtension), header);
}
