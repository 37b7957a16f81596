#pragma once

#include <string_view>

enum class VBTokenKind : unsigned char {
    Word,       // a name or keyword, with its type suffix; an escaped [name] without the brackets
    Number,
    String,
    Date,       // #1/1/2000#
    Symbol,     // operators and punctuation: ( ) , ; : . ! = <> <= >= := + - * / \ ^ & #
    Directive,  // the word after a # that starts a line: If, ElseIf, Else, End, Const
    End,        // the end of the logical line
};

struct VBToken {
    VBTokenKind kind = VBTokenKind::End;
    bool escaped = false;  // [name]: never a keyword
    // Blanks before it on its line: " .Name" starts an operand inside With, "x.Name" does not.
    bool spaceBefore = false;
    int line = 0;
    std::string_view text;
};

// A name without its type suffix: i% and i are one variable.
inline std::string_view WithoutTypeSuffix(const VBToken& name)
{
    std::string_view text = name.text;
    if (!name.escaped && !text.empty() && std::string_view("$%&!#@").find(text.back()) != std::string_view::npos)
        text.remove_suffix(1);
    return text;
}
