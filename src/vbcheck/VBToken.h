#pragma once

#include <string_view>

#include "vbcheck/VBWords.h"

enum class VBTokenKind : unsigned char {
    Word,        // a name or keyword, with its type suffix; an escaped [name] without the brackets
    Number,
    String,
    Date,        // #1/1/2000#
    Symbol,      // operators and punctuation, told by their VBSymbol
    Directive,   // the word after a # that starts a line: If, ElseIf, Else, End, Const
    LineNumber,  // a number that starts a line
    Label,       // a name and a colon that start a line, or follow its line number
    End,         // the end of the logical line
};

enum class VBSymbol : unsigned char {
    None, LeftParenthesis, RightParenthesis, Comma, Semicolon, Colon, Dot, Bang, Equals, NotEqual, Less,
    Greater, LessEqual, GreaterEqual, ColonEquals, Plus, Minus, Times, Slash, Backslash, Caret, Ampersand,
    Hash,
    Unknown,  // a character VB6 does not take in code
};

struct VBToken {
    VBTokenKind kind = VBTokenKind::End;
    // The word of a Word or Directive (None for a name and for an escaped [name]), or the VBSymbol
    // of a Symbol: told once by the lexer, so that the parser compares numbers.
    unsigned char id = 0;
    bool escaped = false;  // [name]: never a keyword
    // Blanks before it on its line: " .Name" starts an operand inside With, "x.Name" does not.
    bool spaceBefore = false;
    int line = 0;
    std::string_view text;

    VBWord Word() const
    {
        return kind == VBTokenKind::Word || kind == VBTokenKind::Directive ? static_cast<VBWord>(id) : VBWord::None;
    }
    VBSymbol Symbol() const { return kind == VBTokenKind::Symbol ? static_cast<VBSymbol>(id) : VBSymbol::None; }
};

// A piece of text and the line it stands on, which are told together.
struct VBTextAt {
    std::string_view text;
    int line = 0;
};

// A name without its type suffix: i% and i are one variable.
inline std::string_view WithoutTypeSuffix(const VBToken& name)
{
    std::string_view text = name.text;
    if (!name.escaped && !text.empty() && std::string_view("$%&!#@").find(text.back()) != std::string_view::npos)
        text.remove_suffix(1);
    return text;
}
