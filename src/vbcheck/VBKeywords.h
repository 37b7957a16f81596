#pragma once

#include <string_view>

// Words VB6 keeps for itself: none of them names a variable, procedure or project.
bool IsReservedWord(std::string_view word);
// Keywords that cannot begin or continue an operand, so that an expression which meets one has
// ended (Then, To, Step, As, ...) or is missing (x = Then).
bool EndsOperand(std::string_view word);
// Word operators between two operands: And, Or, Xor, Eqv, Imp, Mod, Like, Is.
bool IsWordOperator(std::string_view word);
// A letter of a name: ASCII letters and every byte from 0x80 up.
inline bool IsNameStart(unsigned char c)
{
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c >= 0x80;
}
inline bool IsNamePart(unsigned char c)
{
    return IsNameStart(c) || (c >= '0' && c <= '9') || c == '_';
}
