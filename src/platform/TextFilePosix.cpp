#include "platform/TextFile.h"

#include <cerrno>
#include <fcntl.h>
#include <unistd.h>

#include "platform/FileSystem.h"

bool CTextFile::Fail()
{
    errorText_ = CFileSystem::ErrnoText(errno);
    return false;
}

bool CTextFile::Open(const std::string& path)
{
    file_.reset(std::fopen(path.c_str(), "w+"));
    return file_ ? true : Fail();
}

bool CTextFile::CreateNew(const std::string& path)
{
    file_.reset();
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
