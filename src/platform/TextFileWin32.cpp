#include "platform/TextFile.h"

#include <cerrno>
#include <fcntl.h>
#include <io.h>
#include <share.h>
#include <sys/stat.h>
#include <windows.h>

#include "platform/FileSink.h"
#include "platform/FileSystem.h"
#include "platform/WideText.h"

namespace {

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

}  // namespace

bool CTextFile::Fail()
{
    errorText_ = CFileSystem::ErrnoText(errno);
    return false;
}

// Binary mode: the text already carries its CR LF, which a text-mode stream would make CR CR LF.
bool CTextFile::Open(const std::string& path)
{
    Close();
    const std::wstring wide = WideText(path);
    file_.reset(::_wfopen(wide.c_str(), L"w+b"));
    if (!file_)
        ExplainWhatIsInTheWay(path);
    return file_ ? true : Fail();
}

bool CTextFile::CreateNew(const std::string& path)
{
    Close();
    // Shared for removal as well: the console's handler removes a temporary file while it is open.
    const HANDLE handle = ::CreateFileW(WideText(path).c_str(), GENERIC_READ | GENERIC_WRITE,
                                        FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, CREATE_NEW,
                                        FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE) {
        errno = ErrnoOf(::GetLastError());
        ExplainWhatIsInTheWay(path);
        return Fail();
    }
    const int fd = ::_open_osfhandle(reinterpret_cast<intptr_t>(handle), _O_RDWR | _O_BINARY);
    if (fd < 0) {
        Fail();
        ::CloseHandle(handle);
        return false;
    }
    file_.reset(::_fdopen(fd, "w+b"));
    if (!file_) {
        Fail();
        ::_close(fd);
        return false;
    }
    return true;
}

FILE* CTextFile::OpenRegularFile(const std::string& path)
{
    const HANDLE handle = ::CreateFileW(WideText(path).c_str(), GENERIC_READ,
                                        FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                        OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE)
        return nullptr;
    if (::GetFileType(handle) != FILE_TYPE_DISK) {
        ::CloseHandle(handle);
        return nullptr;
    }
    const int fd = ::_open_osfhandle(reinterpret_cast<intptr_t>(handle), _O_RDONLY | _O_BINARY);
    if (fd < 0) {
        ::CloseHandle(handle);
        return nullptr;
    }
    FILE* file = ::_fdopen(fd, "rb");
    if (!file)
        ::_close(fd);
    return file;
}

bool CTextFile::NamesFolder(const std::string& path)
{
    return CFileSystem::IsFolder(path);
}

size_t CTextFile::FolderEnd(const std::string& path)
{
    return path.find_last_of("/\\") + 1;
}

void CTextFile::KeepPermissions()
{
    // A replaced file's read-only attribute refuses the replacement before (ReplaceProblem); the
    // rest of its rights come from the folder, as a new file's do.
}

void CTextFile::RemoveFile(const std::string& path)
{
    ::DeleteFileW(WideText(path).c_str());
}

std::string CTextFile::ReplaceProblem(const std::string& path)
{
    const std::wstring wide = WideText(path);
    const DWORD attributes = ::GetFileAttributesW(wide.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY))
        return "";
    // Source control marks the files that are not checked out so; MoveFileExW would refuse them
    // only after everything is written, and Wine not at all.
    if (attributes & FILE_ATTRIBUTE_READONLY)
        return std::string(CFileSink::kReadOnly);
    // A program holding the file open without sharing its removal makes the rename fail: asking
    // for that right now finds it out before anything is replaced.
    const HANDLE file = ::CreateFileW(wide.c_str(), DELETE, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                      nullptr, OPEN_EXISTING, FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return ::GetLastError() == ERROR_SHARING_VIOLATION ? std::string(CFileSink::kOpenElsewhere) : "";
    ::CloseHandle(file);
    return "";
}
