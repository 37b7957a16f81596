#include "vbcheck/VBStatementWords.h"

#include <array>
#include <iterator>

#include "vbcheck/VBKeywords.h"

namespace {

struct Entry {
    std::string_view word;  // lower case; sorted, so that the words of a letter stand together
    VBStatementWord meaning;
};

using W = VBStatementWord;
constexpr Entry kWords[] = {
    {"attribute", W::Attribute}, {"call", W::Call},       {"case", W::Case},
    {"circle", W::OwnForm},      {"close", W::OwnForm},   {"const", W::Const},
    {"declare", W::Declare},     {"defbool", W::DefType}, {"defbyte", W::DefType},
    {"defcur", W::DefType},      {"defdate", W::DefType}, {"defdbl", W::DefType},
    {"defdec", W::DefType},      {"defint", W::DefType},  {"deflng", W::DefType},
    {"defobj", W::DefType},      {"defsng", W::DefType},  {"defstr", W::DefType},
    {"defvar", W::DefType},      {"dim", W::Dim},         {"do", W::Do},
    {"else", W::Else},           {"elseif", W::ElseIf},   {"end", W::End},
    {"enum", W::Enum},           {"erase", W::Erase},     {"event", W::Event},
    {"exit", W::Exit},           {"for", W::For},         {"friend", W::Friend},
    {"function", W::Function},   {"get", W::OwnForm},     {"global", W::Global},
    {"gosub", W::GoSub},         {"goto", W::GoTo},       {"if", W::If},
    {"implements", W::Implements}, {"input", W::OwnForm}, {"let", W::Let},
    {"line", W::OwnForm},        {"lock", W::OwnForm},    {"loop", W::Loop},
    {"lset", W::OwnForm},        {"name", W::OwnForm},    {"next", W::Next},
    {"on", W::On},               {"open", W::OwnForm},    {"option", W::Option},
    {"print", W::OwnForm},       {"private", W::Private}, {"property", W::Property},
    {"pset", W::OwnForm},        {"public", W::Public},   {"put", W::OwnForm},
    {"raiseevent", W::RaiseEvent}, {"redim", W::ReDim},   {"resume", W::Resume},
    {"return", W::Return},       {"rset", W::OwnForm},    {"scale", W::OwnForm},
    {"seek", W::OwnForm},        {"select", W::Select},   {"set", W::Set},
    {"static", W::Static},       {"sub", W::Sub},         {"type", W::Type},
    {"unlock", W::OwnForm},      {"wend", W::Wend},       {"while", W::While},
    {"width", W::OwnForm},       {"with", W::With},       {"write", W::OwnForm},
};

// For each first letter, a bit per length of the words above that start with it, and where those
// words stand in the table: most statements begin with a name, which the lengths turn away before
// any comparison, and a keyword is compared only with the few of its letter.
struct Letter {
    unsigned lengths = 0;
    unsigned char begin = 0;
    unsigned char end = 0;
};

constexpr std::array<Letter, 26> LettersOf()
{
    std::array<Letter, 26> letters{};
    for (size_t i = 0; i < std::size(kWords); ++i) {
        Letter& letter = letters[static_cast<size_t>(kWords[i].word[0] - 'a')];
        if (letter.lengths == 0)
            letter.begin = static_cast<unsigned char>(i);
        letter.end = static_cast<unsigned char>(i + 1);
        letter.lengths |= 1u << kWords[i].word.size();
    }
    return letters;
}

constexpr std::array<Letter, 26> kLetters = LettersOf();

}  // namespace

VBStatementWord StatementWordOf(std::string_view word)
{
    if (word.empty())
        return W::None;
    const char first = static_cast<char>(word[0] | 0x20);
    if (first < 'a' || first > 'z' || word.size() >= 32)
        return W::None;
    const Letter& letter = kLetters[static_cast<size_t>(first - 'a')];
    if (!(letter.lengths & (1u << word.size())))
        return W::None;
    for (size_t i = letter.begin; i < letter.end; ++i) {
        if (IsLowerCaseOf(kWords[i].word, word))
            return kWords[i].meaning;
    }
    return W::None;
}
