#include "platform/InputFile.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/FileSystem.h"

CInputFile::~CInputFile()
{
    if (descriptor_ >= 0)
        ::close(descriptor_);
}

bool CInputFile::Open(const std::string& path)
{
    descriptor_ = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (descriptor_ < 0)
        return Fail();
    struct stat info;
    if (::fstat(descriptor_, &info) != 0)
        return Fail();
    // A folder opens here, as it does not on Windows; it is refused as reading one would be.
    if (S_ISDIR(info.st_mode)) {
        errno = EISDIR;
        return Fail();
    }
    if (!S_ISREG(info.st_mode)) {
        errorText_ = kNotAFile;
        return false;
    }
    size_ = static_cast<unsigned long long>(info.st_size);
    return true;
}

long long CInputFile::Read(char* buffer, size_t size)
{
    for (;;) {
        const ssize_t count = ::read(descriptor_, buffer, size);
        if (count >= 0)
            return count;
        if (errno != EINTR) {
            Fail();
            return -1;
        }
    }
}

bool CInputFile::Fail()
{
    errorText_ = CFileSystem::ErrnoText(errno);
    return false;
}
