#include "platform/FileSystem.h"

#include <cerrno>
#include <cstring>
#include <string_view>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace {

constexpr std::string_view kNotReadyText = "device not ready";

}  // namespace

CFileSystem::FolderOutcome CFileSystem::CreateFolder(const std::string& path)
{
    std::string whyNot;
    return CreateFolder(path, whyNot);
}

CFileSystem::FolderOutcome CFileSystem::CreateFolder(const std::string& path, std::string& whyNot)
{
    if (::mkdir(path.c_str(), 0777) == 0)
        return FolderOutcome::Created;
    const int code = errno;
    whyNot = FolderErrorText(code);
    switch (code) {
    case EEXIST:
        return FolderOutcome::AlreadyExists;
    case ENOMEDIUM:
    case ENXIO:
        return FolderOutcome::NotReady;
    default:
        return FolderOutcome::Failed;
    }
}

std::string CFileSystem::FolderErrorText(int code)
{
    if (code == ENOMEDIUM || code == ENXIO)
        return std::string(kNotReadyText);
    return ErrnoText(code);
}

std::string CFileSystem::ExecutableFolder()
{
    // The link's length is not known beforehand, so grow the buffer until the whole path fits.
    std::vector<char> buffer(256);
    for (;;) {
        ssize_t length = ::readlink("/proc/self/exe", buffer.data(), buffer.size());
        if (length < 0)
            return "./";
        if (static_cast<size_t>(length) < buffer.size()) {
            std::string path(buffer.data(), static_cast<size_t>(length));
            return path.substr(0, path.rfind('/') + 1);
        }
        buffer.resize(buffer.size() * 2);
    }
}

bool CFileSystem::EntryExists(const std::string& path)
{
    struct stat info;
    return ::stat(path.c_str(), &info) == 0;
}

bool CFileSystem::NameTaken(const std::string& path)
{
    struct stat info;
    return ::lstat(path.c_str(), &info) == 0;
}

bool CFileSystem::IsFolder(const std::string& path)
{
    struct stat info;
    return ::stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

bool CFileSystem::NamesFolder(const std::string& path)
{
    struct stat info;
    return ::lstat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

bool CFileSystem::IsLinkOfAnotherUser(const std::string& path)
{
    struct stat info;
    return ::lstat(path.c_str(), &info) == 0 && S_ISLNK(info.st_mode) && info.st_uid != ::geteuid() &&
           info.st_uid != 0;
}

bool CFileSystem::RemoveEmptyFolder(const std::string& path)
{
    return ::rmdir(path.c_str()) == 0;
}

std::string CFileSystem::CurrentFolder()
{
    std::vector<char> buffer(256);
    while (::getcwd(buffer.data(), buffer.size()) == nullptr) {
        if (errno != ERANGE)
            return ".";
        buffer.resize(buffer.size() * 2);
    }
    return buffer.data();
}

std::string CFileSystem::ErrnoText(int errorNumber)
{
    return std::strerror(errorNumber);
}

std::string CFileSystem::JoinPath(const std::string& folder, const std::string& name)
{
    if (folder.empty() || folder.back() == '/')
        return folder + name;
    return folder + '/' + name;
}

std::string_view CFileSystem::PathSeparators()
{
    return "/";
}
