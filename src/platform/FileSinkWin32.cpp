#include "platform/FileSink.h"

#include <cerrno>
#include <cstdio>
#include <io.h>
#include <windows.h>

#include "platform/FileSystem.h"
#include "platform/WideText.h"

bool CFileSink::Flush(std::FILE* file, std::string& error)
{
    if (std::fflush(file) != 0) {
        error = CFileSystem::ErrnoText(errno);
        return false;
    }
    const HANDLE handle = reinterpret_cast<HANDLE>(::_get_osfhandle(::_fileno(file)));
    if (::FlushFileBuffers(handle))
        return true;
    error = CFileSystem::FolderErrorText(static_cast<int>(::GetLastError()));
    return false;
}

// Windows's cache writes behind by itself; FlushFileBuffers has no asynchronous start.
void CFileSink::StartFlush(std::FILE*) {}

bool CFileSink::Rename(const std::string& from, const std::string& to, std::string& error)
{
    const std::wstring target = WideText(to);
    if (::MoveFileExW(WideText(from).c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        return true;
    const DWORD code = ::GetLastError();
    const DWORD attributes = ::GetFileAttributesW(target.c_str());
    // "Access denied" and "sharing violation" tell the user less than what stands in the way.
    if (code == ERROR_SHARING_VIOLATION || code == ERROR_LOCK_VIOLATION)
        error = kOpenElsewhere;
    else if (code == ERROR_ACCESS_DENIED && attributes != INVALID_FILE_ATTRIBUTES &&
             (attributes & FILE_ATTRIBUTE_READONLY))
        error = kReadOnly;
    else
        error = CFileSystem::FolderErrorText(static_cast<int>(code));
    return false;
}
