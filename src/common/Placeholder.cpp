#include "common/Placeholder.h"

void FillPlaceholder(std::string& text, std::string_view token, std::string_view value)
{
    if (token.empty())
        return;
    size_t pos = text.find(token);
    if (pos == std::string::npos)
        return;
    std::string filled;
    filled.reserve(text.size() + value.size());
    size_t copied = 0;
    while (pos != std::string::npos) {
        filled.append(text, copied, pos - copied);
        filled.append(value);
        copied = pos + token.size();
        pos = text.find(token, copied);
    }
    filled.append(text, copied, std::string::npos);
    text.swap(filled);
}
