#include "common/Placeholder.h"

#include <algorithm>
#include <array>
#include <cstring>

namespace {

// Horspool's search: after a mismatch, the text's character under the token's last position says
// how far the token can move on. A plain search stops at every character equal to the token's first
// one, which for the blank-led patterns of routine renaming is every few characters.
class CTokenFinder {
public:
    explicit CTokenFinder(std::string_view token) : token_(token)
    {
        const size_t last = token.size() - 1;
        shift_.fill(static_cast<unsigned char>(std::min<size_t>(token.size(), kLongestShift)));
        for (size_t i = 0; i < last; ++i)
            shift_[Byte(token[i])] = static_cast<unsigned char>(std::min(last - i, kLongestShift));
    }

    size_t Find(const std::string& text, size_t from) const
    {
        const size_t last = token_.size() - 1;
        for (size_t pos = from; pos + last < text.size(); pos += shift_[Byte(text[pos + last])]) {
            if (text[pos + last] == token_[last] &&
                std::memcmp(text.data() + pos, token_.data(), last) == 0)
                return pos;
        }
        return std::string::npos;
    }

private:
    // Shifts are kept in a byte; a shorter shift than possible only costs a step more.
    static constexpr size_t kLongestShift = 255;
    static size_t Byte(char c) { return static_cast<unsigned char>(c); }

    std::string_view token_;
    std::array<unsigned char, 256> shift_;
};

}  // namespace

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
