#include "common/Placeholder.h"

#include "common/TokenFinder.h"

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
