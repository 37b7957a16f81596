#pragma once

#include <string_view>

#include "vbcheck/VBKeywords.h"
#include "vbcheck/VBToken.h"

// The tokens of one statement, or of a part of one: [begin, end) of a logical line's tokens.
struct VBSpan {
    const VBToken* begin = nullptr;
    const VBToken* end = nullptr;

    bool Empty() const { return begin >= end; }
    size_t Size() const { return Empty() ? 0 : static_cast<size_t>(end - begin); }
    // The token at, or none past the end.
    const VBToken* At(size_t at) const { return at < Size() ? begin + at : nullptr; }
};

// The first error a check found: VB6's text, told at the token.
struct VBSpanFinding {
    std::string_view message;
    const VBToken* at = nullptr;

    explicit operator bool() const { return at != nullptr; }
};

inline bool IsWordToken(const VBToken* token, std::string_view word)
{
    return token && token->kind == VBTokenKind::Word && !token->escaped && IsKeyword(token->text, word);
}

inline bool IsSymbolToken(const VBToken* token, std::string_view symbol)
{
    return token && token->kind == VBTokenKind::Symbol && token->text == symbol;
}

// A name, not a keyword: what a variable may be called.
inline bool IsNameToken(const VBToken* token)
{
    return token && token->kind == VBTokenKind::Word && (token->escaped || !IsReservedWord(WithoutTypeSuffix(*token)));
}

// Where the part that begins at from ends: at the first of the symbols given (one character
// each) outside parentheses, or at the span's end.
const VBToken* FindOutsideParentheses(const VBToken* from, const VBToken* end, std::string_view symbols);
