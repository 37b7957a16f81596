#include "platform/TextFile.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <fstream>
#include <unistd.h>

bool CTextFile::Fail()
{
    errorText_ = std::strerror(errno);
    return false;
}

bool CTextFile::Open(const std::string& path)
{
    file_.reset(std::fopen(path.c_str(), "w+"));
    return file_ ? true : Fail();
}

bool CTextFile::CreateNew(const std::string& path)
{
    file_.reset();
    int fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd < 0)
        return Fail();
    file_.reset(::fdopen(fd, "w+"));
    if (!file_) {
        Fail();
        ::close(fd);
        return false;
    }
    return true;
}

bool CTextFile::Write(std::string_view text, bool flush)
{
    if (!file_) {
        errorText_ = "file is not open";
        return false;
    }
    // Text mode as the generated project's consumers expect it: every line feed becomes CR LF.
    size_t start = 0;
    while (start < text.size()) {
        size_t lf = text.find('\n', start);
        size_t end = lf == std::string_view::npos ? text.size() : lf;
        if (std::fwrite(text.data() + start, 1, end - start, file_.get()) != end - start)
            return Fail();
        if (lf != std::string_view::npos && std::fwrite("\r\n", 1, 2, file_.get()) != 2)
            return Fail();
        start = end + 1;
    }
    if (flush && std::fflush(file_.get()) != 0)
        return Fail();
    return true;
}

void CTextFile::Close()
{
    file_.reset();
}

bool CTextFile::ReadFirstLine(const std::string& path, std::string& line)
{
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return false;
    std::string first;
    std::getline(in, first);
    if (!first.empty() && first.back() == '\r')
        first.pop_back();
    line = first;
    return true;
}
