#include "platform/InputFile.h"

#include <algorithm>
#include <cerrno>
#include <climits>
#include <fcntl.h>
#include <io.h>
#include <share.h>
#include <sys/stat.h>

#include "platform/FileSystem.h"
#include "platform/WideText.h"

CInputFile::~CInputFile()
{
    if (descriptor_ >= 0)
        ::_close(descriptor_);
}

bool CInputFile::Open(const std::string& path)
{
    // Opening a pipe or a console does not wait here; reading one would.
    ::_wsopen_s(&descriptor_, WideText(path).c_str(), _O_RDONLY | _O_BINARY | _O_NOINHERIT, _SH_DENYNO, 0);
    if (descriptor_ < 0) {
        // Windows refuses a folder with "access denied"; say what is in the way, as Linux does.
        if (errno == EACCES && CFileSystem::IsFolder(path))
            errno = EISDIR;
        return Fail();
    }
    struct _stat64 info;
    if (::_fstat64(descriptor_, &info) != 0)
        return Fail();
    if ((info.st_mode & _S_IFMT) != _S_IFREG) {
        errorText_ = kNotAFile;
        return false;
    }
    size_ = static_cast<unsigned long long>(info.st_size);
    return true;
}

long long CInputFile::Read(char* buffer, size_t size)
{
    const int count = ::_read(descriptor_, buffer, static_cast<unsigned>(std::min<size_t>(size, INT_MAX)));
    if (count < 0) {
        Fail();
        return -1;
    }
    return count;
}

bool CInputFile::Fail()
{
    errorText_ = CFileSystem::ErrnoText(errno);
    return false;
}
