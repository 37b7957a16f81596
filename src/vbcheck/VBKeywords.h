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
// Whether text is the ASCII keyword, case aside. Inline and compared here: the checker asks this
// several times for most words it reads. Text beyond ASCII goes to the general comparison.
inline bool IsKeyword(std::string_view text, std::string_view keyword)
{
    if (text.size() != keyword.size())
        return false;
    for (size_t i = 0; i < text.size(); ++i) {
        const auto c = static_cast<unsigned char>(text[i]);
        if (c >= 0x80)
            return EqualIgnoringCase(text, keyword);
        const auto k = static_cast<unsigned char>(keyword[i]);
        const auto lower = static_cast<unsigned char>(k | 0x20);
        if (c != k && !((c | 0x20) == lower && lower >= 'a' && lower <= 'z'))
            return false;
    }
    return true;
}
// Whether word is lower, a word of ASCII lower-case letters, in any case: setting the 0x20 bit
// lowers a capital and turns no other byte into a lower-case letter, so no folded copy is needed.
inline bool IsLowerCaseOf(std::string_view lower, std::string_view word)
{
    if (word.size() != lower.size())
        return false;
    for (size_t i = 0; i < word.size(); ++i) {
        if ((word[i] | 0x20) != lower[i])
            return false;
    }
    return true;
}
// The key a declared name is told apart by. Latin letters in any case are one name to VB6; for
// other scripts it is not sure that VB6 folds them (a double-byte Greek letter in code page 932 is
// not), so such a name is kept as written: a name twice is never found where VB6 sees two.
inline void NameKeyInto(std::string_view name, std::string& key)
{
    bool ascii = true;
    for (unsigned char c : name) {
        // U+0280 and beyond: past the Latin letters.
        if (c >= 0xCA) {
            key.assign(name);
            return;
        }
        ascii = ascii && c < 0x80;
    }
    if (!ascii) {
        FoldCaseInto(name, key);
        return;
    }
    // Most names: lowered here, without the general folding's tables.
    key.assign(name);
    for (char& c : key)
        c = (c >= 'A' && c <= 'Z') ? static_cast<char>(c | 0x20) : c;
}
