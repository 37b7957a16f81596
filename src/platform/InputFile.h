#pragma once

#include <cstddef>
#include <string>

// A regular file opened for reading its bytes from the start. What a name stands for can change
// between a look at it and the open, so the open never waits (a pipe would, for a writer) and
// the file that was opened is the one checked.
class CInputFile {
public:
    // Why a file that opened is not read: a pipe may block for ever, a device may never end.
    static constexpr const char* kNotAFile = "not a regular file";

    CInputFile() = default;
    ~CInputFile();
    CInputFile(const CInputFile&) = delete;
    CInputFile& operator=(const CInputFile&) = delete;

    // False, with ErrorText, when the file cannot be opened or is not a regular file.
    bool Open(const std::string& path);
    // The size of the opened file when it was opened.
    unsigned long long Size() const { return size_; }
    // Up to size bytes into buffer: their count, 0 at the end, -1 when reading failed.
    long long Read(char* buffer, size_t size);
    // Why Open or Read failed, in the C library's words ("Is a directory"), or kNotAFile.
    const std::string& ErrorText() const { return errorText_; }

private:
    bool Fail();

    int descriptor_ = -1;
    unsigned long long size_ = 0;
    std::string errorText_;
};
