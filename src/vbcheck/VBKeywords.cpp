#include "vbcheck/VBKeywords.h"

#include <algorithm>
#include <array>

namespace {

// Lower case and sorted, for a binary search.
constexpr std::array<std::string_view, 122> kReservedWords = {
    "and", "as", "boolean", "byref", "byte", "byval", "call", "case", "cbool", "cbyte", "ccur",
    "cdate", "cdbl", "cdec", "cint", "clng", "close", "const", "csng", "cstr", "currency", "cvar",
    "cverr", "date", "debug", "declare", "defbool", "defbyte", "defcur", "defdate", "defdbl",
    "defdec", "defint", "deflng", "defobj", "defsng", "defstr", "defvar", "dim", "do", "double",
    "each", "else", "elseif", "empty", "end", "enum", "eqv", "erase", "error", "event", "exit",
    "false", "for", "friend", "function", "get", "global", "gosub", "goto", "if", "imp",
    "implements", "in", "input", "integer", "is", "len", "let", "like", "lock", "long", "loop",
    "lset", "me", "mod", "new", "next", "not", "nothing", "null", "object", "on", "open", "option",
    "optional", "or", "paramarray", "preserve", "print", "private", "public", "put", "raiseevent",
    "redim", "rem", "resume", "return", "rset", "seek", "select", "set", "single", "static", "step",
    "stop", "string", "sub", "then", "to", "true", "type", "typeof", "unlock", "until", "variant",
    "wend", "while", "with", "withevents", "write", "xor"};

constexpr std::array<std::string_view, 37> kOperandEnders = {
    "and", "as", "byref", "case", "const", "declare", "dim", "do", "each", "else", "elseif", "end",
    "eqv", "exit", "for", "function", "gosub", "goto", "if", "imp", "in", "is", "like", "loop",
    "mod", "next", "or", "redim", "select", "sub", "then", "to", "until", "wend", "while",
    "with", "xor"};

constexpr std::array<std::string_view, 8> kWordOperators = {"and", "eqv", "imp", "is",
                                                           "like", "mod", "or", "xor"};

// For each first letter, a bit per length of the table's words that start with it: most words of
// a module are names, which this turns away before any search.
template <size_t N>
constexpr std::array<unsigned, 26> LengthsByLetter(const std::array<std::string_view, N>& words)
{
    std::array<unsigned, 26> lengths{};
    for (std::string_view word : words)
        lengths[static_cast<size_t>(word[0] - 'a')] |= 1u << word.size();
    return lengths;
}

template <size_t N>
bool Holds(const std::array<std::string_view, N>& sorted, const std::array<unsigned, 26>& lengths,
           std::string_view word)
{
    // Folded into a buffer of the longest keyword's size: this runs for every word of a module.
    char folded[12];
    if (word.empty() || word.size() > sizeof folded)
        return false;
    const char first = static_cast<char>(word[0] | 0x20);
    if (first < 'a' || first > 'z' || !(lengths[static_cast<size_t>(first - 'a')] & (1u << word.size())))
        return false;
    for (size_t i = 0; i < word.size(); ++i)
        folded[i] = (word[i] >= 'A' && word[i] <= 'Z') ? static_cast<char>(word[i] + 32) : word[i];
    return std::binary_search(sorted.begin(), sorted.end(), std::string_view(folded, word.size()));
}

}  // namespace

bool IsReservedWord(std::string_view word)
{
    static constexpr std::array<unsigned, 26> kLengths = LengthsByLetter(kReservedWords);
    return Holds(kReservedWords, kLengths, word);
}

bool EndsOperand(std::string_view word)
{
    static constexpr std::array<unsigned, 26> kLengths = LengthsByLetter(kOperandEnders);
    return Holds(kOperandEnders, kLengths, word);
}

bool IsWordOperator(std::string_view word)
{
    static constexpr std::array<unsigned, 26> kLengths = LengthsByLetter(kWordOperators);
    return Holds(kWordOperators, kLengths, word);
}
