#include "kbfile/XmlFileSource.h"

#include <cerrno>
#include <climits>

#include "platform/FileSystem.h"

namespace {

constexpr size_t kReadBufferSize = 1 << 16;
constexpr const char* kNotAFile = "not a regular file";

}  // namespace

bool CXmlFileSource::Open(const std::string& path)
{
    // A pipe would block a batch forever, and a device such as /dev/zero never ends.
    if (CFileSystem::IsDeviceOrPipe(path)) {
        errorText_ = kNotAFile;
        return false;
    }
    file_.reset(CFileSystem::OpenForReading(path));
    if (!file_)
        return Failed();
    // The parser asks for 4000 bytes at a time; a larger buffer saves most of the system calls.
    buffer_ = std::make_unique<char[]>(kReadBufferSize);
    std::setvbuf(file_.get(), buffer_.get(), _IOFBF, kReadBufferSize);
    // Opening a folder succeeds; reading it does not. Try the first byte before any parsing, so
    // that such a file fails as unreadable rather than as an empty document.
    const int first = std::fgetc(file_.get());
    if (first == EOF)
        return !std::ferror(file_.get()) || Failed();
    std::ungetc(first, file_.get());
    return true;
}

int CXmlFileSource::Read(char* buffer, int size)
{
    if (!file_ || ReadFailed() || tooLarge_)
        return -1;
    const size_t count = std::fread(buffer, 1, static_cast<size_t>(size), file_.get());
    // The bytes of a failed read are not worth parsing: the load fails on the error anyway.
    if (std::ferror(file_.get())) {
        Failed();
        return -1;
    }
    // The limit a file read whole into memory had: no more bytes than an int counts.
    total_ += count;
    if (total_ > INT_MAX) {
        tooLarge_ = true;
        return -1;
    }
    return static_cast<int>(count);
}

void CXmlFileSource::ReadToEnd()
{
    char buffer[4096];
    while (Read(buffer, sizeof buffer) > 0) {
    }
}

bool CXmlFileSource::Failed()
{
    errorText_ = CFileSystem::ErrnoText(errno);
    return false;
}
