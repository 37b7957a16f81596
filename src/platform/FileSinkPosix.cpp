#include "platform/FileSink.h"

#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <unistd.h>

#include "platform/FileSystem.h"

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
