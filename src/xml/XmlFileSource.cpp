#include "xml/XmlFileSource.h"

#include <algorithm>
#include <climits>
#include <cstring>

namespace {

// The longest byte-order mark, UTF-8's.
constexpr size_t kHeadSize = 3;

// The limit a file read whole into memory had: no more bytes than an int counts.
constexpr unsigned long long kMostBytes = INT_MAX;

}  // namespace

bool CXmlFileSource::StartsWithByteOrderMark(std::string_view bytes)
{
    return bytes.starts_with("\xEF\xBB\xBF") || bytes.starts_with("\xFF\xFE") || bytes.starts_with("\xFE\xFF");
}

bool CXmlFileSource::Open(const std::string& path)
{
    if (!file_.Open(path))
        return false;
    // Refused before a byte is read: a sparse file of gigabytes reads fast, but not fast enough.
    if (file_.Size() > kMostBytes) {
        tooLarge_ = true;
        return false;
    }
    head_.resize(kHeadSize);
    const long long count = file_.Read(head_.data(), head_.size());
    if (count < 0)
        return false;
    head_.resize(static_cast<size_t>(count));
    startsWithMark_ = StartsWithByteOrderMark(head_);
    return true;
}

int CXmlFileSource::Read(char* buffer, int size)
{
    if (ReadFailed() || tooLarge_)
        return -1;
    // The parser tells the encoding from the first four bytes of its first read: the head goes
    // out together with what follows it.
    size_t count = std::min(head_.size(), static_cast<size_t>(size));
    std::memcpy(buffer, head_.data(), count);
    head_.erase(0, count);
    const long long got = file_.Read(buffer + count, static_cast<size_t>(size) - count);
    // The bytes of a failed read are not worth parsing: the load fails on the error anyway.
    if (got < 0)
        return -1;
    count += static_cast<size_t>(got);
    // The file may have grown since it was opened.
    total_ += count;
    if (total_ > kMostBytes) {
        tooLarge_ = true;
        return -1;
    }
    return static_cast<int>(count);
}

void CXmlFileSource::ReadToEnd()
{
    char buffer[1 << 14];
    while (Read(buffer, sizeof buffer) > 0) {
    }
}
