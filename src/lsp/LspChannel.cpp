#include "lsp/LspChannel.h"

#include <cctype>
#include <new>
#include <string_view>

#include "common/FoldCase.h"
#include "common/MessageText.h"

namespace {

constexpr std::string_view kContentLength = "content-length:";
constexpr std::string_view kHeaderTemplate = "Content-Length: {length}\r\n\r\n";

}  // namespace

bool CLspChannel::ReadLine(std::string& line)
{
    line.clear();
    for (int c = std::fgetc(in_); c != EOF; c = std::fgetc(in_)) {
        if (c == '\n') {
            if (!line.empty() && line.back() == '\r')
                line.pop_back();
            return true;
        }
        // A header line is short; one that is not belongs to no protocol.
        if (line.size() < 4096)
            line += static_cast<char>(c);
    }
    return false;
}

CLspChannel::Read CLspChannel::ReadMessage(std::string& body)
{
    std::string line;
    unsigned long long length = 0;
    bool lengthRead = false;
    bool any = false;
    while (ReadLine(line)) {
        if (line.empty()) {
            if (!any)
                continue;
            if (!lengthRead || length > kLargestMessage)
                return Read::BadHeader;
            try {
                body.resize(static_cast<size_t>(length));
            } catch (const std::bad_alloc&) {
                // No room for what the header announces: the stream cannot be followed further.
                return Read::Closed;
            }
            const size_t got = body.empty() ? 0 : std::fread(body.data(), 1, body.size(), in_);
            return got == body.size() ? Read::Message : Read::Closed;
        }
        any = true;
        if (FoldCase(std::string_view(line).substr(0, kContentLength.size())) != kContentLength)
            continue;
        std::string_view value = std::string_view(line).substr(kContentLength.size());
        while (!value.empty() && value.front() == ' ')
            value.remove_prefix(1);
        lengthRead = !value.empty() && value.size() <= 12;
        length = 0;
        for (const char c : value) {
            lengthRead = lengthRead && std::isdigit(static_cast<unsigned char>(c));
            length = length * 10 + static_cast<unsigned long long>(c - '0');
        }
    }
    return Read::Closed;
}

bool CLspChannel::Write(const std::string& body)
{
    const std::string header = MessageText(kHeaderTemplate, {{"length", std::to_string(body.size())}});
    std::lock_guard<std::mutex> lock(writing_);
    std::fwrite(header.data(), 1, header.size(), out_);
    std::fwrite(body.data(), 1, body.size(), out_);
    return std::fflush(out_) == 0 && !std::ferror(out_);
}
