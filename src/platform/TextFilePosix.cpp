#include "platform/TextFile.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <unistd.h>
#if defined(__linux__)
#include <linux/fs.h>
#endif

#include "platform/FileSink.h"
#include "platform/FileSystem.h"

bool CTextFile::Fail()
{
    errorText_ = CFileSystem::ErrnoText(errno);
    return false;
}

bool CTextFile::Open(const std::string& path)
{
    Close();
    file_.reset(std::fopen(path.c_str(), "w+"));
    return file_ ? true : Fail();
}

bool CTextFile::CreateNew(const std::string& path)
{
    Close();
    std::string error;
    file_.reset(sink_->Create(path, error));
    if (!file_)
        errorText_ = error;
    return file_ != nullptr;
}

FILE* CTextFile::OpenRegularFile(const std::string& path)
{
    // Without blocking: opening a pipe that no one writes would wait for a writer.
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return nullptr;
    struct stat info;
    FILE* file = ::fstat(fd, &info) == 0 && S_ISREG(info.st_mode) ? ::fdopen(fd, "rb") : nullptr;
    if (!file)
        ::close(fd);
    return file;
}

bool CTextFile::NamesFolder(const std::string& path)
{
    struct stat info;
    return ::lstat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

size_t CTextFile::FolderEnd(const std::string& path)
{
    return path.rfind('/') + 1;
}

void CTextFile::KeepPermissions()
{
    struct stat replaced;
    if (::lstat(replacedPath_.c_str(), &replaced) != 0 || !S_ISREG(replaced.st_mode))
        return;
    const int fd = ::fileno(file_.get());
    // As editors and rsync do: root converting into a user's project leaves her files hers. Whoever
    // may not give the file away keeps it, and the failure says nothing new. First, as a change of
    // owner clears the set-id bits that the mode below would not set anyway.
    if (::fchown(fd, replaced.st_uid, replaced.st_gid) != 0)
        (void)::fchown(fd, static_cast<uid_t>(-1), replaced.st_gid);
    ::fchmod(fd, replaced.st_mode & 0777);
}

void CTextFile::RemoveFile(const std::string& path)
{
    ::unlink(path.c_str());
}

std::string CTextFile::ReplaceProblem(const std::string& path)
{
    // A link is replaced, not written through, so only a file's own rights count; and they count
    // for whoever runs the program, though the folder would let the rename pass.
    struct stat info;
    if (::lstat(path.c_str(), &info) != 0 || !S_ISREG(info.st_mode))
        return "";
    if (::faccessat(AT_FDCWD, path.c_str(), W_OK, AT_EACCESS) != 0 && errno == EACCES)
        return std::string(CFileSink::kReadOnly);
    if (std::string problem = AttributeProblem(path); !problem.empty())
        return problem;
    // In a folder with the sticky bit (/tmp, a shared project folder) only the file's owner, the
    // folder's and root may rename it or rename another over it.
    struct stat folder;
    const uid_t user = ::geteuid();
    if (::stat(path.substr(0, FolderEnd(path)).c_str(), &folder) == 0 && (folder.st_mode & S_ISVTX) &&
        user != 0 && info.st_uid != user && folder.st_uid != user)
        return std::string(CFileSink::kOtherUsersInSharedFolder);
    return "";
}

std::string CTextFile::AttributeProblem(const std::string& path)
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
