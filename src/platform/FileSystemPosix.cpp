#include "platform/FileSystem.h"

#include <cerrno>
#include <cstring>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

int CFileSystem::CreateFolder(const std::string& path)
{
    if (::mkdir(path.c_str(), 0777) == 0)
        return kCreated;
    switch (errno) {
    case EEXIST:
        return kAlreadyExists;
    case ENOMEDIUM:
    case ENXIO:
        return kNotReady;
    default:
        return errno;
    }
}

std::string CFileSystem::FolderErrorText(int code)
{
    if (code == kNotReady)
        return "device not ready";
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

bool CFileSystem::IsFolder(const std::string& path)
{
    struct stat info;
    return ::stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

bool CFileSystem::IsLinkOfAnotherUser(const std::string& path)
{
    struct stat info;
    return ::lstat(path.c_str(), &info) == 0 && S_ISLNK(info.st_mode) && info.st_uid != ::geteuid() &&
           info.st_uid != 0;
}

bool CFileSystem::IsDeviceOrPipe(const std::string& path)
{
    struct stat info;
    if (::stat(path.c_str(), &info) != 0)
        return false;
    return S_ISFIFO(info.st_mode) || S_ISSOCK(info.st_mode) || S_ISCHR(info.st_mode) ||
           S_ISBLK(info.st_mode);
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

std::string CFileSystem::PathAsUrl(const std::string& path)
{
    return path;
}

std::FILE* CFileSystem::OpenForReading(const std::string& path)
{
    return std::fopen(path.c_str(), "rb");
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

std::string CFileSystem::NameWithoutExtension(const std::string& path)
{
    std::string name = path.substr(path.rfind('/') + 1);
    // A leading dot starts a hidden file's name, not an extension.
    const size_t dot = name.rfind('.');
    if (dot != std::string::npos && dot > 0)
        name.erase(dot);
    return name;
}
