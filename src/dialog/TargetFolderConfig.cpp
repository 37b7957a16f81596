#include "dialog/TargetFolderConfig.h"

#include <string_view>
#include <utility>

#include "log/TextFile.h"
#include "platform/FileSystem.h"

namespace {

constexpr std::string_view kConfigFileName = "config.txt";

}  // namespace

CTargetFolderConfig::CTargetFolderConfig(CProgramFolders folders) : folders_(std::move(folders)) {}

std::vector<std::string> CTargetFolderConfig::PathsToRead() const
{
    const std::string name(kConfigFileName);
    std::vector<std::string> paths;
    if (!folders_.executable.empty())
        paths.push_back(folders_.executable + name);
    if (folders_.userConfig.empty())
        return paths;
    // A config.txt beside the executable that the user cannot write was left there by whoever
    // installed the program, as is one in a folder of the system; the user's own, where the saves
    // go, comes before it.
    if (!paths.empty() && !folders_.executableInSystem && CProgramFolders::CanWrite(paths.front()))
        paths.push_back(folders_.userConfig + name);
    else
        paths.insert(paths.begin(), folders_.userConfig + name);
    return paths;
}

void CTargetFolderConfig::Load(std::string& target, const std::string& documentsFolder) const
{
    for (const std::string& path : PathsToRead()) {
        if (CTextFile::ReadFirstLine(path, target))
            break;
    }
    // An empty first line counts as no remembered folder at all.
    if (target.empty())
        target = documentsFolder;
}

bool CTargetFolderConfig::Save(const std::string& target) const
{
    const std::string name(kConfigFileName);
    // Replaced whole, as project files are: never written through a link planted at its name, nor
    // into a pipe, and never left half written. One that the user may not write stays as it is,
    // as writing it in place left it.
    const std::string beside = folders_.executable + name;
    const bool besideWritable = !CFileSystem::EntryExists(beside) || CProgramFolders::CanWrite(beside);
    CTextFile file;
    const bool opened =
        (!folders_.executable.empty() && !folders_.executableInSystem && besideWritable &&
         file.OpenReplacing(beside)) ||
        (CProgramFolders::MakeUserFolder(folders_.userConfig) && file.OpenReplacing(folders_.userConfig + name));
    if (!opened)
        return false;
    return file.Write(target + "\n") && file.Commit();
}
