#include "platform/ProgramFolders.h"

#include <cerrno>
#include <cstdlib>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/FileSystem.h"

namespace {

constexpr const char* kProgramFolder = "rulecast/";
// Where packages and administrators install programs (the file system hierarchy's).
constexpr const char* kSystemFolders[] = {"/usr/", "/bin/", "/sbin/", "/lib/", "/lib64/", "/opt/"};

bool IsAbsolute(const char* path)
{
    return path != nullptr && path[0] == '/';
}

std::string WithSeparator(std::string folder)
{
    if (folder.empty() || folder.back() != '/')
        folder += '/';
    return folder;
}

// $HOME, or the home folder of the user's account when the variable says nothing usable.
std::string HomeFolder()
{
    const char* home = std::getenv("HOME");
    if (IsAbsolute(home))
        return home;
    const passwd* account = ::getpwuid(::getuid());
    if (account && IsAbsolute(account->pw_dir))
        return account->pw_dir;
    return "";
}

// The base-directory rule of freedesktop.org: the variable when it holds an absolute path,
// otherwise the default below the home folder.
std::string BaseFolder(const char* variable, const char* belowHome)
{
    const char* value = std::getenv(variable);
    if (IsAbsolute(value))
        return WithSeparator(value) + kProgramFolder;
    const std::string home = HomeFolder();
    if (home.empty())
        return "";
    return WithSeparator(home) + belowHome + kProgramFolder;
}

}  // namespace

CProgramFolders CProgramFolders::ForThisUser()
{
    CProgramFolders folders;
    // A folder that is not absolute would make the current folder play a part.
    const std::string executable = CFileSystem::ExecutableFolder();
    if (IsAbsolute(executable.c_str()))
        folders.executable = executable;
    folders.executableInSystem = IsSystemFolder(folders.executable);
    folders.userLogs = BaseFolder("XDG_STATE_HOME", ".local/state/");
    folders.userConfig = BaseFolder("XDG_CONFIG_HOME", ".config/");
    return folders;
}

bool CProgramFolders::MakeUserFolder(const std::string& folder)
{
    if (folder.empty())
        return false;
    if (CFileSystem::EntryExists(folder))
        return CFileSystem::IsFolder(folder);
    // Every folder made on the way is the user's alone, as the state and config folders must be.
    for (size_t slash = folder.find('/', 1); slash != std::string::npos; slash = folder.find('/', slash + 1)) {
        const std::string part = folder.substr(0, slash);
        if (::mkdir(part.c_str(), 0700) != 0 && errno != EEXIST)
            return false;
    }
    if (folder.back() != '/' && ::mkdir(folder.c_str(), 0700) != 0 && errno != EEXIST)
        return false;
    return CFileSystem::IsFolder(folder);
}

bool CProgramFolders::IsSystemFolder(const std::string& folder)
{
    bool below = false;
    for (const char* system : kSystemFolders)
        below = below || folder.starts_with(system);
    struct stat info {};
    return below && ::stat(folder.c_str(), &info) == 0 && info.st_uid == 0;
}

bool CProgramFolders::CanWrite(const std::string& path)
{
    return ::access(path.c_str(), W_OK) == 0;
}
