#include "platform/FileSystem.h"

#include <cerrno>
#include <cstring>
#include <vector>
#include <windows.h>

#include "platform/WideText.h"

namespace {

// The path up to its last separator, without it; empty when there is none.
std::string ParentOf(const std::string& path)
{
    const size_t separator = path.find_last_of("/\\");
    return separator == std::string::npos ? std::string() : path.substr(0, separator);
}

}  // namespace

CFileSystem::FolderOutcome CFileSystem::CreateFolder(const std::string& path)
{
    std::string whyNot;
    return CreateFolder(path, whyNot);
}

CFileSystem::FolderOutcome CFileSystem::CreateFolder(const std::string& path, std::string& whyNot)
{
    const std::wstring wide = WideText(path);
    if (::CreateDirectoryW(wide.c_str(), nullptr))
        return FolderOutcome::Created;
    DWORD code = ::GetLastError();
    // Windows says "path not found" also when the parent is a file; its own code for a name that
    // is not a folder tells the user what is wrong.
    if (code == ERROR_PATH_NOT_FOUND) {
        const std::string parent = ParentOf(path);
        if (!parent.empty() && EntryExists(parent) && !IsFolder(parent))
            code = ERROR_DIRECTORY;
    }
    whyNot = FolderErrorText(static_cast<int>(code));
    switch (code) {
    case ERROR_ALREADY_EXISTS:
        return FolderOutcome::AlreadyExists;
    case ERROR_NOT_READY:
        return FolderOutcome::NotReady;
    default:
        return FolderOutcome::Failed;
    }
}

std::string CFileSystem::FolderErrorText(int code)
{
    // The same words as on Linux for the failures a user meets; the system's own text for others.
    switch (code) {
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
        return ErrnoText(ENOENT);
    case ERROR_ACCESS_DENIED:
        return ErrnoText(EACCES);
    case ERROR_DIRECTORY:
        return "Not a directory";
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL:
        return ErrnoText(ENOSPC);
    case ERROR_FILENAME_EXCED_RANGE:
        return "File name too long";
    case ERROR_NOT_READY:
        return "device not ready";
    default:
        break;
    }
    wchar_t* message = nullptr;
    const DWORD length = ::FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, static_cast<DWORD>(code), 0, reinterpret_cast<wchar_t*>(&message), 0, nullptr);
    std::string text = length > 0 ? Utf8Text(message, length) : "";
    ::LocalFree(message);
    while (!text.empty() && (text.back() == '\n' || text.back() == '\r' || text.back() == '.'))
        text.pop_back();
    return text.empty() ? "system error " + std::to_string(code) : text;
}

std::string CFileSystem::ExecutableFolder()
{
    // The path's length is not known beforehand, so grow the buffer until the whole path fits.
    std::vector<wchar_t> buffer(MAX_PATH);
    for (;;) {
        const DWORD length = ::GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
        if (length == 0)
            return ".\\";
        if (length < buffer.size()) {
            const std::string path = Utf8Text(buffer.data(), length);
            return path.substr(0, path.find_last_of("/\\") + 1);
        }
        buffer.resize(buffer.size() * 2);
    }
}

bool CFileSystem::EntryExists(const std::string& path)
{
    return ::GetFileAttributesW(WideText(path).c_str()) != INVALID_FILE_ATTRIBUTES;
}

// The attributes are the entry's own: a link is not followed.
bool CFileSystem::NameTaken(const std::string& path)
{
    return EntryExists(path);
}

bool CFileSystem::IsFolder(const std::string& path)
{
    const DWORD attributes = ::GetFileAttributesW(WideText(path).c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

// The attributes are the entry's own: a link is not followed.
bool CFileSystem::NamesFolder(const std::string& path)
{
    return IsFolder(path);
}

bool CFileSystem::IsLinkOfAnotherUser(const std::string&)
{
    // Only administrators may make symbolic links by default, and junctions need write access to
    // the folder they stand in, as planting any file there does.
    return false;
}

bool CFileSystem::RemoveEmptyFolder(const std::string& path)
{
    return ::RemoveDirectoryW(WideText(path).c_str()) != 0;
}

std::string CFileSystem::CurrentFolder()
{
    const DWORD size = ::GetCurrentDirectoryW(0, nullptr);
    std::vector<wchar_t> buffer(size + 1);
    const DWORD length = ::GetCurrentDirectoryW(static_cast<DWORD>(buffer.size()), buffer.data());
    if (length == 0 || length >= buffer.size())
        return ".";
    return Utf8Text(buffer.data(), length);
}

std::string CFileSystem::ErrnoText(int errorNumber)
{
    return std::strerror(errorNumber);
}

std::string CFileSystem::JoinPath(const std::string& folder, const std::string& name)
{
    // "C:" is the current folder of drive C, not its root.
    if (folder.empty() || folder.back() == '\\' || folder.back() == '/' || folder.back() == ':')
        return folder + name;
    return folder + '\\' + name;
}

std::string_view CFileSystem::PathSeparators()
{
    return "/\\";
}
