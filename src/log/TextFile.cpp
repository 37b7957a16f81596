#include "log/TextFile.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cerrno>
#include <cstring>
#include <random>
#include <utility>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "common/Utf8.h"
#include "platform/FileSearch.h"
#include "platform/FileSink.h"
#include "platform/FileSystem.h"
#include "platform/InputFile.h"
#include "platform/TemporaryFiles.h"
#include "platform/TextEncoder.h"

namespace {

constexpr std::string_view kTemporaryPrefix = ".rulecast-";
constexpr std::string_view kTemporaryExtension = ".tmp";

// Copies the bytes of text before its first line feed, at most count of them, to chunk and says
// how many. Sixteen bytes go at a time where the processor can look at them together: generated
// lines are short, and a call to find each line's end would cost more than the line.
size_t CopyBeforeLineFeed(const char* text, size_t count, char* chunk)
{
    size_t copied = 0;
#if defined(__SSE2__)
    const __m128i lineFeeds = _mm_set1_epi8('\n');
    for (; count - copied >= 16; copied += 16) {
        const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(text + copied));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(chunk + copied), bytes);
        const int feeds = _mm_movemask_epi8(_mm_cmpeq_epi8(bytes, lineFeeds));
        if (feeds != 0)
            return copied + static_cast<size_t>(std::countr_zero(static_cast<unsigned>(feeds)));
    }
#endif
    for (; copied < count && text[copied] != '\n'; ++copied)
        chunk[copied] = text[copied];
    return copied;
}

}  // namespace

CTextFile::CTextFile() : sink_(&CFileSink::Disk()) {}

void CTextFile::SetSink(CFileSink* sink)
{
    sink_ = sink ? sink : &CFileSink::Disk();
}

std::string CTextFile::TemporaryName()
{
    static constexpr char kLetters[] = "abcdefghijklmnopqrstuvwxyz0123456789";
    std::random_device random;
    std::string name(kTemporaryPrefix);
    for (int i = 0; i < kTemporaryLetters; ++i)
        name += kLetters[random() % (sizeof kLetters - 1)];
    return name + std::string(kTemporaryExtension);
}

void CTextFile::RemoveLeftovers(const std::string& folder)
{
    const std::string pattern =
        std::string(kTemporaryPrefix) + std::string(kTemporaryLetters, '?') + std::string(kTemporaryExtension);
    for (const std::string& path : CFileSearch::Find(folder + "/" + pattern))
        RemoveFile(path);
}

bool CTextFile::OpenReplacing(const std::string& path)
{
    Close();
    // The rename would refuse a folder only once everything is written; say so before.
    if (CFileSystem::NamesFolder(path)) {
        errno = EISDIR;
        return Fail();
    }
    const std::string folder = path.substr(0, path.find_last_of(CFileSystem::PathSeparators()) + 1);
    for (int attempt = 0; attempt < kTemporaryAttempts; ++attempt) {
        const std::string temporary = folder + TemporaryName();
        if (CTemporaryFiles::Create(temporary, [&] { return CreateNew(temporary); })) {
            temporaryPath_ = temporary;
            replacedPath_ = path;
            CFileSink::KeepPermissions(file_.get(), replacedPath_);
            return true;
        }
        if (errno != EEXIST)
            return false;
    }
    return false;
}

bool CTextFile::Finish()
{
    if (!file_ || temporaryPath_.empty()) {
        errorText_ = "file is not open";
        return false;
    }
    std::string error;
    bool written = sink_->Flush(file_.get(), error);
    if (!written)
        errorText_ = error;
    // A write the library deferred may only fail here; the first failure is the one told.
    const bool closed = std::fclose(file_.release()) == 0;
    if (!closed && written)
        Fail();
    written = written && closed;
    if (!written)
        RemoveTemporary();
    return written;
}

bool CTextFile::Replace()
{
    if (file_ || temporaryPath_.empty()) {
        errorText_ = "file is not finished";
        return false;
    }
    std::string error;
    if (!sink_->Rename(temporaryPath_, replacedPath_, error)) {
        errorText_ = error;
        RemoveTemporary();
        return false;
    }
    CTemporaryFiles::Forget(temporaryPath_);
    temporaryPath_.clear();
    replacedPath_.clear();
    return true;
}

bool CTextFile::Commit()
{
    return Finish() && Replace();
}

bool CTextFile::Write(std::string_view text, bool flush)
{
    if (!file_) {
        errorText_ = "file is not open";
        return false;
    }
    // Text mode as the generated project's consumers expect it: every line feed becomes CR LF.
    // The converted text goes to the library a chunk at a time: a call per line costs more than
    // the copying.
    std::array<char, kChunkSize> chunk;
    size_t used = 0;
    size_t start = 0;
    while (start < text.size()) {
        if (chunk.size() - used < 2 && !WriteChunk(chunk.data(), used, false))
            return false;
        // At most what fits with the CR that a line end adds.
        const size_t room = std::min(text.size() - start, chunk.size() - used - 1);
        const size_t length = CopyBeforeLineFeed(text.data() + start, room, chunk.data() + used);
        used += length;
        start += length;
        if (length < room) {
            chunk[used++] = '\r';
            chunk[used++] = '\n';
            ++start;
        }
    }
    if (!WriteChunk(chunk.data(), used, true))
        return false;
    if (flush && std::fflush(file_.get()) != 0)
        return Fail();
    if (flush && !temporaryPath_.empty() && unflushedBytes_ >= kStartFlushBytes) {
        sink_->StartFlush(file_.get());
        unflushedBytes_ = 0;
    }
    return true;
}

bool CTextFile::WriteChunk(char* chunk, size_t& used, bool last)
{
    if (!encoder_ || encoder_->PassesThrough()) {
        const size_t count = std::exchange(used, 0);
        return WriteBytes(chunk, count);
    }
    const size_t whole = last ? used : CUtf8::WholeCharacters(std::string_view(chunk, used));
    encoded_.clear();
    encoder_->Encode(std::string_view(chunk, whole), encoded_);
    std::memmove(chunk, chunk + whole, used - whole);
    used -= whole;
    return WriteBytes(encoded_.data(), encoded_.size());
}

bool CTextFile::WriteBytes(const char* bytes, size_t count)
{
    std::string error;
    if (sink_->Write(file_.get(), bytes, count, error)) {
        unflushedBytes_ += count;
        return true;
    }
    errorText_ = error;
    return false;
}

CTextFile::~CTextFile()
{
    Close();
}

void CTextFile::Close()
{
    file_.reset();
    unflushedBytes_ = 0;
    RemoveTemporary();
}

void CTextFile::RemoveTemporary()
{
    if (temporaryPath_.empty())
        return;
    RemoveFile(temporaryPath_);
    CTemporaryFiles::Forget(temporaryPath_);
    temporaryPath_.clear();
    replacedPath_.clear();
}

bool CTextFile::ReadFirstLine(const std::string& path, std::string& line)
{
    CInputFile in;
    if (!in.Open(path))
        return false;
    std::string first;
    char buffer[4096];
    // A read that fails ends the line where it stands, as the end of the file would.
    for (long long count; first.size() < kMostFirstLine && first.find('\n') == std::string::npos &&
                          (count = in.Read(buffer, sizeof buffer)) > 0;)
        first.append(buffer, static_cast<size_t>(count));
    first.resize(std::min({first.find('\n'), first.size(), kMostFirstLine}));
    if (!first.empty() && first.back() == '\r')
        first.pop_back();
    line = first;
    return true;
}

bool CTextFile::Fail()
{
    errorText_ = CFileSystem::ErrnoText(errno);
    return false;
}

bool CTextFile::Open(const std::string& path)
{
    Close();
    std::string error;
    return Take(sink_->Open(path, error), error);
}

bool CTextFile::CreateNew(const std::string& path)
{
    Close();
    std::string error;
    return Take(sink_->Create(path, error), error);
}

bool CTextFile::Take(std::FILE* file, const std::string& error)
{
    file_.reset(file);
    if (!file_)
        errorText_ = error;
    return file_ != nullptr;
}

void CTextFile::RemoveFile(const std::string& path)
{
    std::string ignored;
    CFileSink::Disk().Remove(path, ignored);
}
