#pragma once

#include <cstdio>
#include <string>
#include <string_view>

// What putting a file in its place asks of the disk: writing bytes, flushing them through to the
// disk, and renaming a whole file over another. The real disk is this class itself; the tests put
// a disk that fills up or a rename that fails in its place, the way ninja's tests put a fake disk
// under its builder, so that the same failures are tried on every platform.
class CFileSink {
public:
    // Why a file may not be replaced, in the words of the messages.
    static constexpr std::string_view kReadOnly = "it is read-only";
    static constexpr std::string_view kOpenElsewhere = "it is open in another program";

    virtual ~CFileSink() = default;

    // Each returns false, with why in error ("No space left on device"), when it fails.
    // Hands count bytes to file.
    virtual bool Write(std::FILE* file, const char* bytes, size_t count, std::string& error);
    // Flushes what file holds to the disk itself (fsync, FlushFileBuffers), so that a crash after
    // a rename cannot leave an empty file in the earlier one's place.
    virtual bool Flush(std::FILE* file, std::string& error);
    // Asks the disk to start writing what file holds, without waiting, so that Flush finds
    // little left to wait for; where the system has no such call, it does nothing.
    virtual void StartFlush(std::FILE* file);
    // Puts the file at from in to's place, replacing whatever entry is there, a link included.
    virtual bool Rename(const std::string& from, const std::string& to, std::string& error);

    // The real disk, for files that were given no other.
    static CFileSink& Disk();
};
