#include "platform/FileSink.h"

#include <cerrno>

#include "platform/FileSystem.h"

bool CFileSink::Write(std::FILE* file, const char* bytes, size_t count, std::string& error)
{
    if (std::fwrite(bytes, 1, count, file) == count)
        return true;
    error = CFileSystem::ErrnoText(errno);
    return false;
}

CFileSink& CFileSink::Disk()
{
    static CFileSink disk;
    return disk;
}
