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

} // namespace

CVBProject::CVBProject(std::string name, CTextEncoder* encoder) : CVBItem(std::move(name), encoder) {}

bool CVBProject::Create(const std::string& targetFolder)
{
    std::string projectFolder = targetFolder + "/" + GetName();
    std::string whyNot;
    const CFileSystem::FolderOutcome outcome = CFileSystem::CreateFolder(projectFolder, whyNot);
    if (outcome != CFileSystem::FolderOutcome::Created && outcome != CFileSystem::FolderOutcome::AlreadyExists)
        return Fail(MessageText(kCannotCreateFolder, {{"path", projectFolder}, {"reason", whyNot}}));
    // Something else at the folder's name is reported when the project file cannot be opened.
    if (CFileSystem::IsFolder(projectFolder)) {
        if (!lock_.Lock(projectFolder, [&] { CConsole::Warn(MessageText(kWaiting, {{"path", projectFolder}})); }))
            return Fail(MessageText(kCannotLockFolder, {{"path", projectFolder}, {"reason", lock_.ErrorText()}}));
        CTextFile::RemoveLeftovers(projectFolder);
    }
    std::string header;
    CVBFileTexts::GetProjectHeader(GetName(), header);
    return OpenWithHeader(projectFolder + "/" + GetName() + std::string(kExtension), header);
}
