#include "platform/TextFile.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

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
    int fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd < 0)
        return Fail();
    file_.reset(::fdopen(fd, "w+"));
    if (!file_) {
        Fail();
        ::close(fd);
        return false;
    }
    return true;
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
    if (::lstat(replacedPath_.c_str(), &replaced) == 0 && S_ISREG(replaced.st_mode))
        ::fchmod(::fileno(file_.get()), replaced.st_mode & 0777);
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
    return "";
}
