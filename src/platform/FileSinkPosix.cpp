#include "platform/FileSink.h"

#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <unistd.h>

#include "platform/FileSystem.h"

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
