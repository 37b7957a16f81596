#pragma once

#include <string_view>

#include "vbcheck/VBToken.h"

// The words a statement is told by, each with what the checker does with it.
enum class VBStatementWord : unsigned char {
    None,  // an assignment, a call, or a label
    Attribute, Call, Case, Const, Declare, DefType, Dim, Do, Else, ElseIf, End, Enum, Erase, Event,
    Exit, For, Friend, Function, Global, GoSub, GoTo, If, Implements, Let, Loop, Next, On, Option,
    Private, Property, Public, RaiseEvent, ReDim, Resume, Return, Select, Set, Static, Sub, Type,
    Wend, While, With,
    // File and graphics statements with forms of their own (Print #1, a; b / Line (0,0)-(1,1)):
    // read up to their end, not judged.
    OwnForm,
};

VBStatementWord StatementWordOf(std::string_view word);
// The same for a token: None for anything but a word, and for an escaped [name].
inline VBStatementWord StatementWordOf(const VBToken& token)
{
    return token.kind == VBTokenKind::Word && !token.escaped ? StatementWordOf(token.text) : VBStatementWord::None;
}
