#include "platform/TextFile.h"

#include <cerrno>
#include <fcntl.h>
#include <io.h>
#include <share.h>
#include <sys/stat.h>
#include <windows.h>

#include "platform/FileSystem.h"
#include "platform/WideText.h"

namespace {

bool IsFolder(DWORD attributes)
{
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

// Windows refuses a folder in the way with "access denied" and a file in place of the parent
// folder with "not found"; the user is better told what is in the way, in the words Linux uses.
void ExplainWhatIsInTheWay(const std::wstring& path)
{
    if (errno == EACCES && IsFolder(::GetFileAttributesW(path.c_str()))) {
        errno = EISDIR;
        return;
    }
    const size_t separator = path.find_last_of(L"/\\");
    if (errno != ENOENT || separator == std::wstring::npos)
        return;
    const DWORD parent = ::GetFileAttributesW(path.substr(0, separator).c_str());
    if (parent != INVALID_FILE_ATTRIBUTES && !IsFolder(parent))
        errno = ENOTDIR;
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
        ExplainWhatIsInTheWay(wide);
    return file_ ? true : Fail();
}

bool CTextFile::CreateNew(const std::string& path)
{
    Close();
    const std::wstring wide = WideText(path);
    int fd = -1;
    ::_wsopen_s(&fd, wide.c_str(), _O_RDWR | _O_CREAT | _O_EXCL | _O_BINARY | _O_NOINHERIT, _SH_DENYNO,
                _S_IREAD | _S_IWRITE);
    if (fd < 0) {
        ExplainWhatIsInTheWay(wide);
        return Fail();
    }
    file_.reset(::_fdopen(fd, "w+b"));
    if (!file_) {
        Fail();
        ::_close(fd);
        return false;
    }
    return true;
}

bool CTextFile::OpenReplacing(const std::string& path)
{
    Close();
    // The move would refuse a folder only once everything is written; say so before.
    if (IsFolder(::GetFileAttributesW(WideText(path).c_str()))) {
        errno = EISDIR;
        return Fail();
    }
    const std::string folder = path.substr(0, path.find_last_of("/\\") + 1);
    for (int attempt = 0; attempt < kTemporaryAttempts; ++attempt) {
        const std::string temporary = folder + TemporaryName();
        if (CreateNew(temporary)) {
            temporaryPath_ = temporary;
            replacedPath_ = path;
            return true;
        }
        if (errno != EEXIST)
            return false;
    }
    return false;
}

bool CTextFile::Commit()
{
    if (!file_ || temporaryPath_.empty()) {
        errorText_ = "file is not open";
        return false;
    }
    bool written = std::fflush(file_.get()) == 0 || Fail();
    // A write the library deferred may only fail here.
    written = (std::fclose(file_.release()) == 0 || Fail()) && written;
    // Replacing takes the place of whatever entry has the name, a link included, without following it.
    if (written && !::MoveFileExW(WideText(temporaryPath_).c_str(), WideText(replacedPath_).c_str(),
                                  MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        errorText_ = CFileSystem::FolderErrorText(static_cast<int>(::GetLastError()));
        written = false;
    }
    if (!written) {
        RemoveTemporary();
        return false;
    }
    temporaryPath_.clear();
    replacedPath_.clear();
    return true;
}

void CTextFile::RemoveTemporary()
{
    if (temporaryPath_.empty())
        return;
    ::DeleteFileW(WideText(temporaryPath_).c_str());
    temporaryPath_.clear();
    replacedPath_.clear();
}
