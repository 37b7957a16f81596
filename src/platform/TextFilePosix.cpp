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

bool CTextFile::OpenReplacing(const std::string& path)
{
    Close();
    // The rename would refuse a folder only once everything is written; say so before.
    struct stat info;
    if (::lstat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode)) {
        errno = EISDIR;
        return Fail();
    }
    const std::string folder = path.substr(0, path.rfind('/') + 1);
    for (int attempt = 0; attempt < kTemporaryAttempts; ++attempt) {
        const std::string temporary = folder + TemporaryName();
        if (CreateNew(temporary)) {
            temporaryPath_ = temporary;
            replacedPath_ = path;
            return true;
        }
        if (errno != EEXIST)
            return false;
    }
    return false;
}

bool CTextFile::Commit()
{
    if (!file_ || temporaryPath_.empty()) {
        errorText_ = "file is not open";
        return false;
    }
    bool written = std::fflush(file_.get()) == 0 || Fail();
    // A write the library deferred may only fail here.
    written = (std::fclose(file_.release()) == 0 || Fail()) && written;
    if (written && ::rename(temporaryPath_.c_str(), replacedPath_.c_str()) != 0)
        written = Fail();
    if (!written) {
        RemoveTemporary();
        return false;
    }
    temporaryPath_.clear();
    replacedPath_.clear();
    return true;
}

void CTextFile::RemoveTemporary()
{
    if (temporaryPath_.empty())
        return;
    ::unlink(temporaryPath_.c_str());
    temporaryPath_.clear();
    replacedPath_.clear();
}
