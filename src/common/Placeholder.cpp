#include "common/Placeholder.h"

#include <algorithm>
#include <array>
#include <cstring>

namespace {

// Finds a token in a text. Short texts are searched for the token's first character, checking its
// last one before comparing the rest: the template texts and log lines, filled by the hundred
// thousand, are short and hold other tokens that begin alike. Long texts use Horspool's search:
// after a mismatch, the text's character under the token's last position says how far the token
// can move on, where a search for the first character would stop every few characters at the
// blanks that lead the patterns of routine renaming.
class CTokenFinder {
public:
    explicit CTokenFinder(std::string_view token) : token_(token) {}

    size_t Find(std::string_view text, size_t from) const
    {
        if (from >= text.size() || text.size() - from < token_.size())
            return std::string::npos;
        return text.size() - from < kShortText ? FindShort(text, from) : FindLong(text, from);
    }

private:
    // Below this many characters to search, setting up the table costs more than it saves.
    static constexpr size_t kShortText = 512;
    // Shifts are kept in a byte; a shorter shift than possible only costs a step more.
    static constexpr size_t kLongestShift = 255;
    static size_t Byte(char c) { return static_cast<unsigned char>(c); }

    size_t FindShort(std::string_view text, size_t from) const
    {
        const size_t last = token_.size() - 1;
        const char* const end = text.data() + text.size() - last;
        for (const char* p = text.data() + from; p < end; ++p) {
            p = static_cast<const char*>(std::memchr(p, token_[0], static_cast<size_t>(end - p)));
            if (!p)
                break;
            if (p[last] == token_[last] && std::memcmp(p + 1, token_.data() + 1, last) == 0)
                return static_cast<size_t>(p - text.data());
        }
        return std::string::npos;
    }

    size_t FindLong(std::string_view text, size_t from) const
    {
        if (!tableReady_)
            SetUpTable();
        const size_t last = token_.size() - 1;
        for (size_t pos = from; pos + last < text.size(); pos += shift_[Byte(text[pos + last])]) {
            if (text[pos + last] == token_[last] &&
                std::memcmp(text.data() + pos, token_.data(), last) == 0)
                return pos;
        }
        return std::string::npos;
    }

    void SetUpTable() const
    {
        const size_t last = token_.size() - 1;
        shift_.fill(static_cast<unsigned char>(std::min<size_t>(token_.size(), kLongestShift)));
        for (size_t i = 0; i < last; ++i)
            shift_[Byte(token_[i])] = static_cast<unsigned char>(std::min(last - i, kLongestShift));
        tableReady_ = true;
    }

    std::string_view token_;
    // Set up by the first search of a long text.
    mutable std::array<unsigned char, 256> shift_;
    mutable bool tableReady_ = false;
};

}  // namespace

size_t FindPlaceholder(std::string_view text, size_t from, std::string_view token)
{
    return token.empty() ? std::string::npos : CTokenFinder(token).Find(text, from);
}

void FillPlaceholder(std::string& text, std::string_view token, std::string_view value)
{
    FillPlaceholderFrom(text, 0, token, value);
}

size_t FillPlaceholderFrom(std::string& text, size_t from, std::string_view token,
                           std::string_view value)
{
    if (token.empty())
        return std::string::npos;
    const CTokenFinder finder(token);
    const size_t first = finder.Find(text, from);
    if (first == std::string::npos)
        return first;
    const size_t next = finder.Find(text, first + token.size());
    if (next == std::string::npos) {
        text.replace(first, token.size(), value);
        return first;
    }
    // Only the part from the first occurrence on is rebuilt; what stands before it stays in place.
    std::string filled;
    filled.reserve(text.size() - first + value.size());
    filled.append(value);
    size_t copied = first + token.size();
    for (size_t pos = next; pos != std::string::npos; pos = finder.Find(text, copied)) {
        filled.append(text, copied, pos - copied);
        filled.append(value);
        copied = pos + token.size();
    }
    filled.append(text, copied, std::string::npos);
    text.resize(first);
    text += filled;
    return first;
}
