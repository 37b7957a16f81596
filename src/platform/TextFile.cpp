#include "platform/TextFile.h"

#include <array>
#include <cstring>

#include "platform/FileSystem.h"

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
        if (chunk.size() - used < 2) {
            if (!WriteBytes(chunk.data(), used))
                return false;
            used = 0;
        }
        // At most what fits with the CR that a line end adds.
        const std::string_view piece = text.substr(start, chunk.size() - used - 1);
        const size_t lf = piece.find('\n');
        const size_t length = lf == std::string_view::npos ? piece.size() : lf;
        std::memcpy(chunk.data() + used, piece.data(), length);
        used += length;
        start += length;
        if (lf != std::string_view::npos) {
            chunk[used++] = '\r';
            chunk[used++] = '\n';
            ++start;
        }
    }
    if (!WriteBytes(chunk.data(), used))
        return false;
    if (flush && std::fflush(file_.get()) != 0)
        return Fail();
    return true;
}

bool CTextFile::WriteBytes(const char* bytes, size_t count)
{
    return std::fwrite(bytes, 1, count, file_.get()) == count || Fail();
}

void CTextFile::Close()
{
    file_.reset();
}

bool CTextFile::ReadFirstLine(const std::string& path, std::string& line)
{
    std::unique_ptr<FILE, Closer> in(CFileSystem::OpenForReading(path));
    if (!in)
        return false;
    std::string first;
    for (int c; (c = std::fgetc(in.get())) != EOF && c != '\n';)
        first += static_cast<char>(c);
    if (!first.empty() && first.back() == '\r')
        first.pop_back();
    line = first;
    return true;
}
