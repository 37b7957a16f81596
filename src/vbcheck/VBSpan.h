#pragma once

#include <string_view>

#include "vbcheck/VBToken.h"
#include "vbcheck/VBWords.h"

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

inline bool IsWordToken(const VBToken* token, VBWord word)
{
    return token && token->Word() == word;
}

inline bool IsSymbolToken(const VBToken* token, VBSymbol symbol)
{
    return token && token->Symbol() == symbol;
}

// A name, not a keyword: what a variable may be called.
inline bool IsNameToken(const VBToken* token)
{
    return token && token->kind == VBTokenKind::Word && !IsReserved(token->Word());
}

// A word with a meaning in one statement only (Open ... Access Read), compared as written.
bool IsWordText(const VBToken* token, std::string_view word);

// Where the part that begins at from ends: at the first symbol outside parentheses, or at end.
const VBToken* FindOutsideParentheses(const VBToken* from, const VBToken* end, VBSymbol symbol);
