#pragma once

#include <array>
#include <string_view>

// Every word the checker tells by name: VB6's keywords, the words a statement starts with, and the
// words that mean something in one place only (Option Explicit, Declare PtrSafe). A name is None.
enum class VBWord : unsigned char {
    None,
    AddressOf, And, As, Attribute, Base, Binary, Boolean, ByRef, Byte, ByVal, Call, Case, CBool, CByte,
    CCur, CDate, CDbl, CDec, CInt, Circle, CLng, Close, Compare, Const, CSng, CStr, Currency, CVar,
    CVErr, Date, Debug, Declare, DefBool, DefByte, DefCur, DefDate, DefDbl, DefDec, DefInt, DefLng,
    DefObj, DefSng, DefStr, DefVar, Dim, Do, Double, Each, Else, ElseIf, Empty, End, EndIf, Enum, Eqv,
    Erase, Error, Event, Exit, Explicit, False, For, Friend, Function, Get, Global, GoSub, GoTo, If,
    Imp, Implements, In, Input, Integer, Is, Len, Let, Like, Line, Local, Lock, Long, Loop, LSet, Me,
    Mod, Module, Name, New, Next, Not, Nothing, Null, Object, On, Open, Option, Optional, Or,
    ParamArray, Preserve, Print, Private, Property, PSet, PtrSafe, Public, Put, RaiseEvent, ReDim, Rem,
    Resume, Return, RSet, Scale, Seek, Select, Set, Single, Static, Step, Stop, String, Sub, Text,
    Then, To, True, Type, TypeOf, Unlock, Until, Variant, Wend, While, Width, With, WithEvents, Write,
    Xor,
};

// What a statement starting with the word is; None for an assignment, a call or a label.
enum class VBStatementKind : unsigned char {
    None,
    Attribute, Call, Case, Const, Declare, DefType, Dim, Do, Else, ElseIf, End, Enum, Erase, Event,
    Exit, For, Friend, Function, Global, GoSub, GoTo, If, Implements, Let, Loop, Next, On, Option,
    Private, Property, Public, RaiseEvent, ReDim, Resume, Return, Select, Set, Static, Sub, Type,
    Wend, While, With,
    // File and graphics statements with forms of their own (Print #1, a; b / Line (0,0)-(1,1)):
    // read up to their end, not judged.
    OwnForm,
};

// The operators of expressions and of #If conditions alike.
enum class VBOperator : unsigned char {
    None, Imp, Eqv, Xor, Or, And, Not, Equal, NotEqual, Less, Greater, LessEqual, GreaterEqual, Like, Is,
    Concatenate, Add, Subtract, Modulo, IntegerDivide, Multiply, Divide, Negate, Power,
};

// The word written as text (ASCII letters in any case), None for any other name.
VBWord WordOf(std::string_view text);
// Words VB6 keeps for itself: none of them names a variable, procedure or project.
bool IsReserved(VBWord word);
// Keywords that cannot begin or continue an operand, so that an expression which meets one has
// ended (Then, To, Step, As, ...) or is missing (x = Then).
bool EndsOperand(VBWord word);
VBStatementKind StatementKindOf(VBWord word);
VBOperator OperatorOf(VBWord word);

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
