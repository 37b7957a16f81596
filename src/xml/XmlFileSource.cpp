#include "xml/XmlFileSource.h"

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstring>

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
    // Opening a folder succeeds; reading it does not. Read the first bytes before any parsing, so
    // that such a file fails as unreadable rather than as an empty document.
    head_.resize(kUtf8Mark.size());
    head_.resize(std::fread(head_.data(), 1, head_.size(), file_.get()));
    if (std::ferror(file_.get()))
        return Failed();
    startsWithUtf8Mark_ = head_ == kUtf8Mark;
    return true;
}

int CXmlFileSource::Read(char* buffer, int size)
{
    if (!file_ || ReadFailed() || tooLarge_)
        return -1;
    // The parser tells the encoding from the first four bytes of its first read: the head goes
    // out together with what follows it.
    size_t count = std::min(head_.size(), static_cast<size_t>(size));
    std::memcpy(buffer, head_.data(), count);
    head_.erase(0, count);
    count += std::fread(buffer + count, 1, static_cast<size_t>(size) - count, file_.get());
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
