#include "platform/TextEncoder.h"

#include <cstdint>
#include <cstring>

namespace {

bool IsAscii(char byte)
{
    return static_cast<unsigned char>(byte) < 0x80;
}

// Where the run of ASCII that starts at from ends. Generated text is nearly all ASCII, so it is
// looked at eight bytes at a time.
size_t AsciiRunEnd(std::string_view text, size_t from)
{
    constexpr std::uint64_t kHighBits = 0x8080808080808080ull;
    for (std::uint64_t eight = 0; from + sizeof eight <= text.size(); from += sizeof eight) {
        std::memcpy(&eight, text.data() + from, sizeof eight);
        if (eight & kHighBits)
            break;
    }
    while (from < text.size() && IsAscii(text[from]))
        ++from;
    return from;
}

}  // namespace

size_t CTextEncoder::CharacterLength(std::string_view text)
{
    const unsigned char lead = static_cast<unsigned char>(text[0]);
    const size_t length = lead >= 0xF0 && lead <= 0xF4 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC2 ? 2 : 1;
    if (lead >= 0xF5 || length > text.size())
        return 1;
    for (size_t i = 1; i < length; ++i)
        if ((static_cast<unsigned char>(text[i]) & 0xC0) != 0x80)
            return 1;
    return length;
}

std::optional<char32_t> CTextEncoder::CodePoint(std::string_view character)
{
    const unsigned char lead = static_cast<unsigned char>(character[0]);
    if (character.size() == 1)
        return lead < 0x80 ? std::optional<char32_t>(lead) : std::nullopt;
    char32_t point = lead & (0x7F >> character.size());
    for (size_t i = 1; i < character.size(); ++i)
        point = (point << 6) | (static_cast<unsigned char>(character[i]) & 0x3F);
    constexpr char32_t kLeast[] = {0, 0, 0x80, 0x800, 0x10000};
    if (point < kLeast[character.size()] || (point >= 0xD800 && point <= 0xDFFF) || point > 0x10FFFF)
        return std::nullopt;
    return point;
}

void CTextEncoder::Encode(std::string_view text, std::string& out)
{
    if (!converter_) {
        out.append(text);
        return;
    }
    // Every code page taken writes ASCII as it is, so only the runs of other characters go
    // through the converter; VB code is mostly ASCII.
    size_t start = 0;
    while (start < text.size()) {
        size_t end = AsciiRunEnd(text, start);
        out.append(text.substr(start, end - start));
        start = end;
        while (end < text.size() && !IsAscii(text[end]))
            ++end;
        if (end > start)
            EncodeRun(text.substr(start, end - start), out);
        start = end;
    }
}
