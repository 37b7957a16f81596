#include "vbcheck/VBKeywords.h"

#include <array>

namespace {

// Lower case and sorted, so that the words of one letter stand together.
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

// For each first letter, a bit per length of the table's words that start with it, and where those
// words stand: most words of a module are names, which the lengths turn away before any
// comparison, and a keyword is compared only with the few of its letter.
struct Letters {
    std::array<unsigned, 26> lengths{};
    std::array<unsigned char, 26> begin{};
    std::array<unsigned char, 26> end{};
};

template <size_t N>
constexpr Letters LettersOf(const std::array<std::string_view, N>& sorted)
{
    Letters letters;
    for (size_t i = 0; i < N; ++i) {
        const auto letter = static_cast<size_t>(sorted[i][0] - 'a');
        if (letters.lengths[letter] == 0)
            letters.begin[letter] = static_cast<unsigned char>(i);
        letters.end[letter] = static_cast<unsigned char>(i + 1);
        letters.lengths[letter] |= 1u << sorted[i].size();
    }
    return letters;
}

template <size_t N>
bool Holds(const std::array<std::string_view, N>& sorted, const Letters& letters, std::string_view word)
{
    if (word.empty() || word.size() >= 32)
        return false;
    const char first = static_cast<char>(word[0] | 0x20);
    if (first < 'a' || first > 'z')
        return false;
    const auto letter = static_cast<size_t>(first - 'a');
    if (!(letters.lengths[letter] & (1u << word.size())))
        return false;
    for (size_t i = letters.begin[letter]; i < letters.end[letter]; ++i) {
        if (IsLowerCaseOf(sorted[i], word))
            return true;
    }
    return false;
}

}  // namespace

bool IsReservedWord(std::string_view word)
{
    static constexpr Letters kLetters = LettersOf(kReservedWords);
    return Holds(kReservedWords, kLetters, word);
}

bool EndsOperand(std::string_view word)
{
    static constexpr Letters kLetters = LettersOf(kOperandEnders);
    return Holds(kOperandEnders, kLetters, word);
}

bool IsWordOperator(std::string_view word)
{
    static constexpr Letters kLetters = LettersOf(kWordOperators);
    return Holds(kWordOperators, kLetters, word);
}
