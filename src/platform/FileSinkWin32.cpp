#include "platform/FileSink.h"

#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <io.h>
#include <share.h>
#include <sys/stat.h>
#include <windows.h>

#include "platform/FileSystem.h"
#include "platform/WideText.h"

// Binary mode: the text already carries its CR LF, which a text-mode stream would make CR CR LF.
std::FILE* CFileSink::Create(const std::string& path, std::string& error)
{
    int fd = -1;
    ::_wsopen_s(&fd, WideText(path).c_str(), _O_RDWR | _O_CREAT | _O_EXCL | _O_BINARY | _O_NOINHERIT, _SH_DENYNO,
                _S_IREAD | _S_IWRITE);
    std::FILE* file = fd >= 0 ? ::_fdopen(fd, "w+b") : nullptr;
    if (file)
        return file;
    const int code = errno;
    if (fd >= 0)
        ::_close(fd);
    error = CFileSystem::ErrnoText(code);
    errno = code;
    return nullptr;
}

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

bool CFileSink::Remove(const std::string& path, std::string& error)
{
    if (::DeleteFileW(WideText(path).c_str()))
        return true;
    const DWORD code = ::GetLastError();
    if (code == ERROR_FILE_NOT_FOUND || code == ERROR_PATH_NOT_FOUND)
        return true;
    error = CFileSystem::FolderErrorText(static_cast<int>(code));
    return false;
}

// MOVEFILE_WRITE_THROUGH has each rename written through already.
bool CFileSink::FlushFolder(const std::string&, std::string&)
{
    return true;
}
