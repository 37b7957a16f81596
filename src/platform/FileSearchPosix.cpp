#include "platform/FileSearch.h"

#include <algorithm>
#include <dirent.h>
#include <memory>
#include <sys/stat.h>

#include "common/Wildcard.h"
#include "platform/FileSystem.h"

namespace {

struct DirCloser {
    void operator()(DIR* dir) const { ::closedir(dir); }
};

bool HasWildcard(const std::string& text)
{
    return text.find_first_of("*?") != std::string::npos;
}

}  // namespace

std::vector<std::string> CFileSearch::Find(const std::string& pattern)
{
    std::string trimmed = pattern;
    // "name/" names the entry "name", as it would without the slash.
    while (trimmed.size() > 1 && trimmed.back() == '/' && !HasWildcard(trimmed))
        trimmed.pop_back();

    size_t slash = trimmed.rfind('/');
    std::string folder = slash == std::string::npos ? "" : trimmed.substr(0, slash + 1);
    std::string wildcard = slash == std::string::npos ? trimmed : trimmed.substr(slash + 1);
    if (folder.empty() || folder[0] != '/')
        folder = CFileSystem::CurrentFolder() + "/" + folder;
    if (wildcard.empty())
        return {};
    // A name without wildcards is the file it names, also in a folder that may be entered but
    // not listed; a pipe or device named so is refused later, with its reason.
    if (!HasWildcard(wildcard)) {
        const std::string path = folder + wildcard;
        if (!CFileSystem::EntryExists(path) || CFileSystem::IsFolder(path))
            return {};
        return {path};
    }

    std::unique_ptr<DIR, DirCloser> dir(::opendir(folder.c_str()));
    if (!dir)
        return {};
    std::vector<std::string> paths;
    while (const dirent* entry = ::readdir(dir.get())) {
        if (!CWildcard::Matches(wildcard, entry->d_name))
            continue;
        // Only what is a file once links are followed: a dangling link (an editor's lock) or a
        // pipe that happens to match is no rule file.
        std::string path = folder + entry->d_name;
        struct stat info;
        if (::stat(path.c_str(), &info) != 0 || !S_ISREG(info.st_mode))
            continue;
        paths.push_back(std::move(path));
    }
    std::sort(paths.begin(), paths.end());
    return paths;
}

std::vector<std::string> CFileSearch::Names(const std::string& folder)
{
    std::unique_ptr<DIR, DirCloser> dir(::opendir(folder.empty() ? "." : folder.c_str()));
    if (!dir)
        return {};
    std::vector<std::string> names;
    while (const dirent* entry = ::readdir(dir.get())) {
        const std::string_view name = entry->d_name;
        if (name != "." && name != "..")
            names.emplace_back(name);
    }
    return names;
}
