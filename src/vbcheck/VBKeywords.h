#pragma once

#include <array>
#include <string_view>

#include "common/FoldCase.h"

// Words VB6 keeps for itself: none of them names a variable, procedure or project.
bool IsReservedWord(std::string_view word);
// Keywords that cannot begin or continue an operand, so that an expression which meets one has
// ended (Then, To, Step, As, ...) or is missing (x = Then).
bool EndsOperand(std::string_view word);
// Word operators between two operands: And, Or, Xor, Eqv, Imp, Mod, Like, Is.
bool IsWordOperator(std::string_view word);
// What each byte may be in a name, looked up rather than compared: the lexer asks it for every
// character of a module.
enum VBNameByte : unsigned char { kNameStartByte = 1, kNamePartByte = 2 };

constexpr std::array<unsigned char, 256> VBNameBytes()
{
    std::array<unsigned char, 256> bytes{};
    for (unsigned c = 0; c < 256; ++c) {
        // A letter of a name: ASCII letters and every byte from 0x80 up.
        const bool letter = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c >= 0x80;
        const bool part = letter || (c >= '0' && c <= '9') || c == '_';
        bytes[c] = static_cast<unsigned char>((letter ? kNameStartByte : 0) | (part ? kNamePartByte : 0));
    }
    return bytes;
}

inline constexpr std::array<unsigned char, 256> kVBNameBytes = VBNameBytes();

inline bool IsNameStart(unsigned char c)
{
    return kVBNameBytes[c] & kNameStartByte;
}
inline bool IsNamePart(unsigned char c)
{
    return kVBNameBytes[c] & kNamePartByte;
}
// Whether text is the ASCII keyword, case aside. Inline, with the length and first letter compared
// before any call: the checker asks this several times for most words it reads.
inline bool IsKeyword(std::string_view text, std::string_view keyword)
{
    if (text.size() != keyword.size() || text.empty())
        return false;
    const auto first = static_cast<unsigned char>(text[0]);
    if (first < 0x80 && (first | 0x20) != (static_cast<unsigned char>(keyword[0]) | 0x20))
        return false;
    return EqualIgnoringCase(text, keyword);
}
