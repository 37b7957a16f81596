#include "common/Utf8.h"

#include <cstdint>
#include <cstring>

namespace {

// Bytes that a sequence starting with lead claims, well formed or not; 1 for a byte that starts
// none.
size_t ClaimedLength(unsigned char lead)
{
    return lead >= 0xF8 ? 1 : lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC0 ? 2 : 1;
}

}  // namespace

size_t CUtf8::CharacterLength(std::string_view text)
{
    const unsigned char lead = static_cast<unsigned char>(text[0]);
    // C0 and C1 start only overlong forms, F5 and up only values past U+10FFFF.
    const size_t length = lead < 0xC2 || lead > 0xF4 ? 1 : ClaimedLength(lead);
    if (length > text.size())
        return 1;
    for (size_t i = 1; i < length; ++i)
        if (!IsContinuation(static_cast<unsigned char>(text[i])))
            return 1;
    return length;
}

std::optional<char32_t> CUtf8::CodePoint(std::string_view character)
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

void CUtf8::Append(char32_t point, std::string& out)
{
    if (point < 0x80) {
        out += static_cast<char>(point);
    } else if (point < 0x800) {
        out += static_cast<char>(0xC0 | (point >> 6));
        out += static_cast<char>(0x80 | (point & 0x3F));
    } else if (point < 0x10000) {
        out += static_cast<char>(0xE0 | (point >> 12));
        out += static_cast<char>(0x80 | ((point >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (point & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (point >> 18));
        out += static_cast<char>(0x80 | ((point >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((point >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (point & 0x3F));
    }
}

size_t CUtf8::CountCharacters(std::string_view text)
{
    size_t count = 0;
    for (char c : text)
        count += !IsContinuation(static_cast<unsigned char>(c));
    return count;
}

size_t CUtf8::Utf16Length(std::string_view text)
{
    size_t units = 0;
    for (char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (!IsContinuation(byte))
            units += byte >= 0xF0 ? 2 : 1;
    }
    return units;
}

size_t CUtf8::WholeCharacters(std::string_view text)
{
    const size_t count = text.size();
    size_t start = count;
    while (start > 0 && count - start < 4) {
        const unsigned char byte = static_cast<unsigned char>(text[--start]);
        if (IsContinuation(byte))
            continue;  // the character starts further back
        return start + ClaimedLength(byte) > count ? start : count;
    }
    return count;
}

// Generated text is nearly all ASCII, so it is looked at eight bytes at a time.
size_t CUtf8::AsciiRunEnd(std::string_view text, size_t from)
{
    constexpr std::uint64_t kHighBits = 0x8080808080808080ull;
    for (std::uint64_t eight = 0; from + sizeof eight <= text.size(); from += sizeof eight) {
        std::memcpy(&eight, text.data() + from, sizeof eight);
        if (eight & kHighBits)
            break;
    }
    while (from < text.size() && static_cast<unsigned char>(text[from]) < 0x80)
        ++from;
    return from;
}
