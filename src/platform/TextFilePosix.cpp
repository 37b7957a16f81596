#include "platform/TextFile.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

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

bool CTextFile::MoveOverReplaced()
{
    return ::rename(temporaryPath_.c_str(), replacedPath_.c_str()) == 0 || Fail();
}

void CTextFile::RemoveTemporary()
{
    if (temporaryPath_.empty())
        return;
    ::unlink(temporaryPath_.c_str());
    temporaryPath_.clear();
    replacedPath_.clear();
}
