#include "lsp/LspColumns.h"

#include "common/Utf8.h"

int CLspColumns::Utf16Units(std::string_view text)
{
    return static_cast<int>(CUtf8::Utf16Length(text));
}

size_t CLspColumns::BytesOfUtf16(std::string_view line, int units)
{
    size_t i = 0;
    while (i < line.size() && units > 0) {
        const size_t bytes = CUtf8::CharacterLength(line.substr(i));
        units -= bytes == 4 ? 2 : 1;
        i += bytes;
    }
    return i;
}

size_t CLspColumns::BytesOfCodePoints(std::string_view line, int count)
{
    size_t i = 0;
    for (; i < line.size() && count > 0; --count)
        i += CUtf8::CharacterLength(line.substr(i));
    return i;
}
