#include "platform/FileSink.h"

#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <unistd.h>
#if defined(__linux__)
#include <linux/fs.h>
#endif

#include "platform/FileSystem.h"

namespace {

// An attribute of the file at path that forbids renaming over it (immutable, append-only); empty
// when none does or the system has none.
std::string AttributeProblem(const std::string& path)
{
#if defined(FS_IOC_GETFLAGS)
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOFOLLOW | O_CLOEXEC);
    if (fd < 0)
        return "";
    // The kernel's flags are an int, whatever the name of the request says.
    int flags = 0;
    const bool known = ::ioctl(fd, FS_IOC_GETFLAGS, &flags) == 0;
    ::close(fd);
    if (known && (flags & FS_IMMUTABLE_FL))
        return std::string(CFileSink::kImmutable);
    if (known && (flags & FS_APPEND_FL))
        return std::string(CFileSink::kAppendOnly);
#else
    (void)path;
#endif
    return "";
}

}  // namespace

std::FILE* CFileSink::Open(const std::string& path, std::string& error)
{
    std::FILE* file = std::fopen(path.c_str(), "w+");
    if (!file)
        error = CFileSystem::ErrnoText(errno);
    return file;
}

std::FILE* CFileSink::Create(const std::string& path, std::string& error)
{
    const int fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    std::FILE* file = fd >= 0 ? ::fdopen(fd, "w+") : nullptr;
    if (file)
        return file;
    const int code = errno;
    if (fd >= 0)
        ::close(fd);
    error = CFileSystem::ErrnoText(code);
    errno = code;
    return nullptr;
}

bool CFileSink::Flush(std::FILE* file, std::string& error)
{
    if (std::fflush(file) == 0 && ::fsync(::fileno(file)) == 0)
        return true;
    error = CFileSystem::ErrnoText(errno);
    return false;
}

void CFileSink::StartFlush(std::FILE* file)
{
#if defined(__linux__)
    // Only a hint: a failure here shows again, and is told, at Flush.
    ::sync_file_range(::fileno(file), 0, 0, SYNC_FILE_RANGE_WRITE);
#else
    (void)file;
#endif
}

bool CFileSink::Rename(const std::string& from, const std::string& to, std::string& error)
{
    if (::rename(from.c_str(), to.c_str()) == 0)
        return true;
    error = CFileSystem::ErrnoText(errno);
    return false;
}

bool CFileSink::Remove(const std::string& path, std::string& error)
{
    if (::unlink(path.c_str()) == 0 || errno == ENOENT)
        return true;
    error = CFileSystem::ErrnoText(errno);
    return false;
}

bool CFileSink::FlushFolder(const std::string& folder, std::string& error)
{
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0 && ::fsync(fd) == 0) {
        ::close(fd);
        return true;
    }
    error = CFileSystem::ErrnoText(errno);
    if (fd >= 0)
        ::close(fd);
    return false;
}

std::string CFileSink::ReplaceProblem(const std::string& path)
{
    // A link is replaced, not written through, so only a file's own rights count; and they count
    // for whoever runs the program, though the folder would let the rename pass.
    struct stat info;
    if (::lstat(path.c_str(), &info) != 0 || !S_ISREG(info.st_mode))
        return "";
    if (::faccessat(AT_FDCWD, path.c_str(), W_OK, AT_EACCESS) != 0 && errno == EACCES)
        return std::string(kReadOnly);
    if (std::string problem = AttributeProblem(path); !problem.empty())
        return problem;
    // In a folder with the sticky bit (/tmp, a shared project folder) only the file's owner, the
    // folder's and root may rename it or rename another over it.
    struct stat folder;
    const uid_t user = ::geteuid();
    if (::stat(path.substr(0, path.rfind('/') + 1).c_str(), &folder) == 0 && (folder.st_mode & S_ISVTX) &&
        user != 0 && info.st_uid != user && folder.st_uid != user)
        return std::string(kOtherUsersInSharedFolder);
    return "";
}

void CFileSink::KeepPermissions(std::FILE* file, const std::string& replacedPath)
{
    struct stat replaced;
    if (::lstat(replacedPath.c_str(), &replaced) != 0 || !S_ISREG(replaced.st_mode))
        return;
    const int fd = ::fileno(file);
    // As editors and rsync do: root converting into a user's project leaves her files hers. Whoever
    // may not give the file away keeps it, and the failure says nothing new. First, as a change of
    // owner clears the set-id bits that the mode below would not set anyway.
    if (::fchown(fd, replaced.st_uid, replaced.st_gid) != 0)
        (void)::fchown(fd, static_cast<uid_t>(-1), replaced.st_gid);
    ::fchmod(fd, replaced.st_mode & 0777);
}
