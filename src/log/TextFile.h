#pragma once

#include <cstdio>
#include <memory>
#include <string>
#include <string_view>

class CFileSink;
class CTextEncoder;

// A text file written the way the generated project and the logs need it: every "\n" reaches the
// disk as "\r\n", then the text is converted to the encoder's code page, and every write is
// flushed at once so that what was written survives a crash. What it asks of the disk goes through
// a CFileSink.
class CTextFile {
public:
    CTextFile();
    ~CTextFile();
    CTextFile(const CTextFile&) = delete;
    CTextFile& operator=(const CTextFile&) = delete;

    // The code page the text is written in, borrowed; none (the default) writes UTF-8 as it is.
    void SetEncoder(CTextEncoder* encoder) { encoder_ = encoder; }
    // The disk the bytes go to, borrowed; none (the default) is the real one.
    void SetSink(CFileSink* sink);
    // Opens with the meaning of "w+t": creates the file, or empties an existing one.
    bool Open(const std::string& path);
    // Opens a new temporary file in path's folder, with the permission bits of the file at path
    // where there is one, else those any new file gets; path itself stays as it is until Replace.
    // For files that must never be seen half written, nor written through a link that stands at
    // path. False, with nothing created, when path names a folder or the temporary file cannot be
    // made.
    bool OpenReplacing(const std::string& path);
    // Flushes the file that OpenReplacing opened through to the disk and closes it; it waits,
    // whole, for Replace. False, with the temporary file removed, when any step fails.
    bool Finish();
    // Renames the finished file over path: whatever entry had that name, a link included, is
    // replaced, never followed. False, with the temporary file removed and path as it was, when
    // the rename fails.
    bool Replace();
    // Finish and Replace.
    bool Commit();
    // Removes the temporary files that an earlier process, killed while writing, left in folder.
    // Only for a folder that no other process writes into now.
    static void RemoveLeftovers(const std::string& folder);
    // Creates the file only when no entry of that name exists; never overwrites.
    bool CreateNew(const std::string& path);
    bool IsOpen() const { return file_ != nullptr; }
    // Writes the whole text; false when the file is not open or any byte could not be written.
    bool Write(std::string_view text, bool flush = true);
    // Closes the file; a temporary file that was not committed is removed.
    void Close();
    // errno text of the last failure ("No space left on device"), empty when none.
    const std::string& ErrorText() const { return errorText_; }

    // The first line of a file without its line end ("\r\n" or "\n"), of at most kMostFirstLine
    // bytes; false when it cannot be opened or is no regular file (CInputFile): a pipe would block
    // for ever and a device might never end.
    static bool ReadFirstLine(const std::string& path, std::string& line);
    static constexpr size_t kMostFirstLine = 64 * 1024;

private:
    struct Closer {
        void operator()(FILE* f) const { std::fclose(f); }
    };
    bool Fail();
    // Writes to file from now on; none, from a sink's Open or Create that failed, keeps error.
    bool Take(std::FILE* file, const std::string& error);
    bool WriteBytes(const char* bytes, size_t count);
    // Removes the temporary file that was not put in place, if any.
    void RemoveTemporary();
    // Removes the file at path on the real disk: tidying up after a failure is no step of the
    // replacement that a sink stands in for.
    static void RemoveFile(const std::string& path);
    // A hidden name of fixed length for a temporary file, so that a long file name cannot make it
    // too long.
    static std::string TemporaryName();
    // Writes the first used bytes of chunk, converted. Unless last is set, a character cut off at
    // the end stays behind, moved to the chunk's start; used is what stays.
    bool WriteChunk(char* chunk, size_t& used, bool last);

    // Most bytes of converted text handed to the library at a time; held on the stack.
    static constexpr size_t kChunkSize = 16 * 1024;
    // Bytes of a replacing file after which the disk is asked to start writing them, so that the
    // flush at Finish does not wait for a whole large file.
    static constexpr size_t kStartFlushBytes = 4 * 1024 * 1024;
    // Temporary names tried before giving up when every one is taken.
    static constexpr int kTemporaryAttempts = 100;
    // What follows the prefix in a temporary name.
    static constexpr int kTemporaryLetters = 12;

    std::unique_ptr<FILE, Closer> file_;
    CFileSink* sink_;
    CTextEncoder* encoder_ = nullptr;
    // The converted chunk, kept to spare an allocation per chunk.
    std::string encoded_;
    std::string errorText_;
    // Set while a file opened by OpenReplacing is not yet in place.
    std::string temporaryPath_;
    std::string replacedPath_;
    // Bytes handed to a replacing file since the disk was last asked to start writing.
    size_t unflushedBytes_ = 0;
};
