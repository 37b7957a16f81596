#include "platform/FileSink.h"

#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <io.h>
#include <sys/stat.h>
#include <windows.h>

#include "platform/FileSystem.h"
#include "platform/WideText.h"

namespace {

// The C library's number for what CreateFileW failed with, so that every failure reads as the
// runtime's own opens say it.
int ErrnoOf(DWORD code)
{
    switch (code) {
    case ERROR_FILE_EXISTS:
    case ERROR_ALREADY_EXISTS:
        return EEXIST;
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
        return ENOENT;
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL:
        return ENOSPC;
    case ERROR_FILENAME_EXCED_RANGE:
        return ENAMETOOLONG;
    case ERROR_TOO_MANY_OPEN_FILES:
        return EMFILE;
    case ERROR_INVALID_NAME:
        return EINVAL;
    default:
        return EACCES;
    }
}

// Windows refuses a folder in the way with "access denied" and a file in place of the parent
// folder with "not found"; the user is better told what is in the way, in the words Linux uses.
void ExplainWhatIsInTheWay(const std::string& path)
{
    if (errno == EACCES && CFileSystem::IsFolder(path)) {
        errno = EISDIR;
        return;
    }
    const size_t separator = path.find_last_of("/\\");
    if (errno != ENOENT || separator == std::string::npos)
        return;
    const std::string parent = path.substr(0, separator);
    if (CFileSystem::EntryExists(parent) && !CFileSystem::IsFolder(parent))
        errno = ENOTDIR;
}

// Binary mode: the text already carries its CR LF, which a text-mode stream would make CR CR LF.
// Shared for removal as well: the console's handler removes a temporary file while it is open.
std::FILE* CreateShared(const std::string& path, std::string& error)
{
    const HANDLE handle = ::CreateFileW(WideText(path).c_str(), GENERIC_READ | GENERIC_WRITE,
                                        FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, CREATE_NEW,
                                        FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE) {
        errno = ErrnoOf(::GetLastError());
        error = CFileSystem::ErrnoText(errno);
        return nullptr;
    }
    const int fd = ::_open_osfhandle(reinterpret_cast<intptr_t>(handle), _O_RDWR | _O_BINARY);
    if (fd < 0) {
        const int code = errno;
        ::CloseHandle(handle);
        error = CFileSystem::ErrnoText(code);
        errno = code;
        return nullptr;
    }
    std::FILE* file = ::_fdopen(fd, "w+b");
    if (file)
        return file;
    const int code = errno;
    ::_close(fd);
    error = CFileSystem::ErrnoText(code);
    errno = code;
    return nullptr;
}

}  // namespace

// Binary mode, as for a new file.
std::FILE* CFileSink::Open(const std::string& path, std::string& error)
{
    std::FILE* file = ::_wfopen(WideText(path).c_str(), L"w+b");
    if (file)
        return file;
    ExplainWhatIsInTheWay(path);
    error = CFileSystem::ErrnoText(errno);
    return nullptr;
}

std::FILE* CFileSink::Create(const std::string& path, std::string& error)
{
    std::FILE* file = CreateShared(path, error);
    if (file)
        return file;
    const int code = errno;
    ExplainWhatIsInTheWay(path);
    if (errno != code)
        error = CFileSystem::ErrnoText(errno);
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

// A replaced file's read-only attribute refuses the replacement before (ReplaceProblem); the rest
// of its rights come from the folder, as a new file's do.
void CFileSink::KeepPermissions(std::FILE*, const std::string&) {}

std::string CFileSink::ReplaceProblem(const std::string& path)
{
    const std::wstring wide = WideText(path);
    const DWORD attributes = ::GetFileAttributesW(wide.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY))
        return "";
    // Source control marks the files that are not checked out so; MoveFileExW would refuse them
    // only after everything is written, and Wine not at all.
    if (attributes & FILE_ATTRIBUTE_READONLY)
        return std::string(kReadOnly);
    // A program holding the file open makes the rename over it fail, even one that shares its
    // removal: asking for that right without sharing anything finds any of them out before
    // anything is replaced.
    const HANDLE file = ::CreateFileW(wide.c_str(), DELETE, 0, nullptr, OPEN_EXISTING, FILE_FLAG_OPEN_REPARSE_POINT,
                                      nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return ::GetLastError() == ERROR_SHARING_VIOLATION ? std::string(kOpenElsewhere) : "";
    ::CloseHandle(file);
    return "";
}
