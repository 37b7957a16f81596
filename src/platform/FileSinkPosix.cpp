#include "platform/FileSink.h"

#include <cerrno>
#include <cstdio>
#include <unistd.h>

#include "platform/FileSystem.h"

bool CFileSink::Flush(std::FILE* file, std::string& error)
{
    if (std::fflush(file) == 0 && ::fsync(::fileno(file)) == 0)
        return true;
    error = CFileSystem::ErrnoText(errno);
    return false;
}

bool CFileSink::Rename(const std::string& from, const std::string& to, std::string& error)
{
    if (::rename(from.c_str(), to.c_str()) == 0)
        return true;
    error = CFileSystem::ErrnoText(errno);
    return false;
}
