#include "lsp/LspColumns.h"

size_t CLspColumns::CharacterBytes(unsigned char lead)
{
    if (lead >= 0xF0 && lead < 0xF8)
        return 4;
    if (lead >= 0xE0)
        return lead < 0xF0 ? 3 : 1;
    if (lead >= 0xC0)
        return 2;
    return 1;
}

int CLspColumns::Utf16Units(std::string_view text)
{
    int units = 0;
    for (size_t i = 0; i < text.size(); i += CharacterBytes(static_cast<unsigned char>(text[i])))
        units += CharacterBytes(static_cast<unsigned char>(text[i])) == 4 ? 2 : 1;
    return units;
}

size_t CLspColumns::BytesOfUtf16(std::string_view line, int units)
{
    size_t i = 0;
    while (i < line.size() && units > 0) {
        const size_t bytes = CharacterBytes(static_cast<unsigned char>(line[i]));
        units -= bytes == 4 ? 2 : 1;
        i += bytes;
    }
    return i < line.size() ? i : line.size();
}

size_t CLspColumns::BytesOfCodePoints(std::string_view line, int count)
{
    size_t i = 0;
    for (; i < line.size() && count > 0; --count)
        i += CharacterBytes(static_cast<unsigned char>(line[i]));
    return i < line.size() ? i : line.size();
}
