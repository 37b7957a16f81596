#include "vbcheck/VBLexer.h"

#include <array>
#include <cstring>

#include "common/Utf8.h"
#include "vbcheck/VBCheckMessages.h"
#include "vbcheck/VBWords.h"

namespace {

constexpr int kMostContinuations = 24;
constexpr size_t kLongestLine = 1023;
constexpr size_t kLongestIdentifier = 255;

bool IsDigit(char c)
{
    return c >= '0' && c <= '9';
}

bool IsHexDigit(char c)
{
    return IsDigit(c) || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
}

// The symbol each character stands for alone.
constexpr std::array<VBSymbol, 256> SingleSymbols()
{
    std::array<VBSymbol, 256> symbols{};
    symbols.fill(VBSymbol::Unknown);
    constexpr std::string_view kCharacters = "(),;:.!=<>+-*/\\^&#";
    constexpr VBSymbol kSymbols[] = {
        VBSymbol::LeftParenthesis, VBSymbol::RightParenthesis, VBSymbol::Comma, VBSymbol::Semicolon,
        VBSymbol::Colon, VBSymbol::Dot, VBSymbol::Bang, VBSymbol::Equals, VBSymbol::Less, VBSymbol::Greater,
        VBSymbol::Plus, VBSymbol::Minus, VBSymbol::Times, VBSymbol::Slash, VBSymbol::Backslash,
        VBSymbol::Caret, VBSymbol::Ampersand, VBSymbol::Hash};
    for (size_t i = 0; i < kCharacters.size(); ++i)
        symbols[static_cast<unsigned char>(kCharacters[i])] = kSymbols[i];
    return symbols;
}
constexpr std::array<VBSymbol, 256> kSingleSymbols = SingleSymbols();

// The symbol of two characters that starts with c and next; None when they are two symbols.
VBSymbol PairSymbol(char c, char next)
{
    switch (c) {
    case ':':
        return next == '=' ? VBSymbol::ColonEquals : VBSymbol::None;
    case '<':
        return next == '>' ? VBSymbol::NotEqual : next == '=' ? VBSymbol::LessEqual : VBSymbol::None;
    case '>':
        return next == '<' ? VBSymbol::NotEqual : next == '=' ? VBSymbol::GreaterEqual : VBSymbol::None;
    case '=':
        return next == '>' ? VBSymbol::GreaterEqual : next == '<' ? VBSymbol::LessEqual : VBSymbol::None;
    default:
        return VBSymbol::None;
    }
}

unsigned char Id(VBSymbol symbol)
{
    return static_cast<unsigned char>(symbol);
}

// A name before a colon is a label where it starts the line, after its line number and the colon
// that may follow it (30 Finish:), and is no statement's word.
void MarkLabel(std::vector<VBToken>& tokens)
{
    const size_t count = tokens.size();
    const bool afterNumber = count >= 2 && tokens[0].kind == VBTokenKind::LineNumber &&
                             (count == 2 || (count == 3 && tokens[1].Symbol() == VBSymbol::Colon));
    VBToken& name = tokens.back();
    if ((count == 1 || afterNumber) && name.kind == VBTokenKind::Word &&
        StatementKindOf(name.Word()) == VBStatementKind::None)
        name.kind = VBTokenKind::Label;
}

// Where a statement starts, a word may be Rem: at the line's start, after its line number or after
// a colon.
bool AtStatementStart(const std::vector<VBToken>& tokens)
{
    if (tokens.empty() || (tokens.size() == 1 && tokens[0].kind == VBTokenKind::LineNumber))
        return true;
    return tokens.back().Symbol() == VBSymbol::Colon;
}

// A number that starts the line is its line number.
VBTokenKind NumberKind(const std::vector<VBToken>& tokens)
{
    return tokens.empty() ? VBTokenKind::LineNumber : VBTokenKind::Number;
}

}  // namespace

void CVBLexer::Problem(Line& line, std::string_view message, std::string_view about) const
{
    if (line.problem.empty()) {
        line.problem = message;
        // Too many continuations is the statement's fault, told where it starts.
        line.problemAt = {about, message == kTooManyContinuations ? line.firstLine : line_};
    }
}

bool CVBLexer::AtLineEnd() const
{
    return pos_ >= text_.size() || text_[pos_] == '\r' || text_[pos_] == '\n';
}

bool CVBLexer::EndPhysicalLine(Line& line)
{
    // Characters, not bytes, so that UTF-8 text is not judged longer than the code page text VB6
    // would read. A line of no more bytes than the limit has no more characters either.
    if (pos_ - lineStart_ > kLongestLine &&
        CUtf8::CountCharacters(text_.substr(lineStart_, pos_ - lineStart_)) > kLongestLine)
        Problem(line, kLineTooLong, text_.substr(lineStart_, pos_ - lineStart_));
    if (pos_ >= text_.size())
        return false;
    if (text_[pos_] == '\r' && pos_ + 1 < text_.size() && text_[pos_ + 1] == '\n')
        ++pos_;
    ++pos_;
    lineStart_ = pos_;
    tokenOnLine_ = false;
    ++line_;
    // Indentation comes in runs of spaces: passed four at a time.
    while (text_.size() - pos_ >= 4 && std::memcmp(text_.data() + pos_, "    ", 4) == 0)
        pos_ += 4;
    return true;
}

// A " _" that ends the physical line, with only blanks after it.
bool CVBLexer::IsContinuation() const
{
    if (text_[pos_] != '_' || pos_ == lineStart_ || !IsBlank(text_[pos_ - 1]))
        return false;
    size_t end = pos_ + 1;
    while (end < text_.size() && IsBlank(text_[end]))
        ++end;
    return end >= text_.size() || text_[end] == '\r' || text_[end] == '\n';
}

void CVBLexer::SkipComment(Line& line)
{
    for (;;) {
        size_t lastUnderscore = std::string_view::npos;
        while (!AtLineEnd()) {
            if (IsContinuation())
                lastUnderscore = pos_;
            ++pos_;
        }
        if (lastUnderscore == std::string_view::npos || pos_ >= text_.size())
            return;
        if (++continuations_ > kMostContinuations)
            Problem(line, kTooManyContinuations);
        EndPhysicalLine(line);
    }
}

bool CVBLexer::NextLine(std::vector<VBToken>& tokens, Line& line)
{
    tokens.clear();
    line = Line{};
    if (pos_ >= text_.size())
        return false;
    line.firstLine = line_;
    continuations_ = 0;
    for (;;) {
        while (pos_ < text_.size() && IsBlank(text_[pos_]))
            ++pos_;
        if (AtLineEnd()) {
            EndPhysicalLine(line);
            break;
        }
        const char c = text_[pos_];
        // Words first: they are most of the tokens, and no other branch takes a letter.
        if (IsNameStart(static_cast<unsigned char>(c))) {
            const bool statementStart = AtStatementStart(tokens);
            ReadWord(tokens, line);
            if (statementStart && tokens.back().Word() == VBWord::Rem) {
                tokens.pop_back();
                SkipComment(line);
            }
        } else if (c == '_' && IsContinuation()) {
            while (!AtLineEnd())
                ++pos_;
            if (++continuations_ > kMostContinuations)
                Problem(line, kTooManyContinuations);
            if (!EndPhysicalLine(line))
                break;
        } else if (c == '\'') {
            SkipComment(line);
        } else if (IsDigit(c) || (c == '.' && pos_ + 1 < text_.size() && IsDigit(text_[pos_ + 1]))) {
            ReadNumber(tokens);
        } else if (c == '"') {
            ReadString(tokens);
        } else if (!(c == '&' && ReadBasedNumber(tokens)) && !(c == '#' && ReadDate(tokens)) &&
                   !(c == '[' && ReadEscapedName(tokens))) {
            ReadSymbol(tokens, line);
        }
    }
    // Empty, just after the last token: an error at the line's end is told there.
    const std::string_view end = tokens.empty() ? std::string_view{}
                                                : std::string_view(tokens.back().text.data() + tokens.back().text.size(), 0);
    tokens.push_back({VBTokenKind::End, 0, false, false, tokens.empty() ? line.firstLine : tokens.back().line, end});
    return true;
}

// Inline in NextLine, its one caller: it runs for every word.
inline void CVBLexer::ReadWord(std::vector<VBToken>& tokens, Line& line)
{
    const size_t start = pos_;
    // A local index, which the compiler keeps in a register: this loop runs for every letter.
    size_t end = pos_;
    while (end < text_.size() && IsNamePart(static_cast<unsigned char>(text_[end])))
        ++end;
    pos_ = end;
    if (pos_ - start > kLongestIdentifier &&
        CUtf8::CountCharacters(text_.substr(start, pos_ - start)) > kLongestIdentifier)
        Problem(line, kIdentifierTooLong, text_.substr(start, pos_ - start));
    // A type suffix, unless the character begins what follows: rs!Field is a bang, not x!.
    if (pos_ < text_.size()) {
        const char s = text_[pos_];
        if ((s == '$' || s == '%' || s == '&' || s == '!' || s == '#' || s == '@') &&
            !(pos_ + 1 < text_.size() &&
              (IsNamePart(static_cast<unsigned char>(text_[pos_ + 1])) || text_[pos_ + 1] == '[')))
            ++pos_;
    }
    const VBWord word = WordOf(text_.substr(start, pos_ - start));
    Push(tokens, VBTokenKind::Word, start, pos_, static_cast<unsigned char>(word));
}

void CVBLexer::ReadNumber(std::vector<VBToken>& tokens)
{
    const size_t start = pos_;
    while (pos_ < text_.size() && IsDigit(text_[pos_]))
        ++pos_;
    if (pos_ < text_.size() && text_[pos_] == '.') {
        ++pos_;
        while (pos_ < text_.size() && IsDigit(text_[pos_]))
            ++pos_;
    }
    if (pos_ + 1 < text_.size() && (text_[pos_] == 'e' || text_[pos_] == 'E' || text_[pos_] == 'd' ||
                                    text_[pos_] == 'D')) {
        size_t digits = pos_ + 1;
        if (digits < text_.size() && (text_[digits] == '+' || text_[digits] == '-'))
            ++digits;
        if (digits < text_.size() && IsDigit(text_[digits])) {
            pos_ = digits;
            while (pos_ < text_.size() && IsDigit(text_[pos_]))
                ++pos_;
        }
    }
    if (pos_ < text_.size()) {
        const char s = text_[pos_];
        if (s == '%' || s == '&' || s == '!' || s == '#' || s == '@' || s == '^')
            ++pos_;
    }
    Push(tokens, NumberKind(tokens), start, pos_);
}

// &H1F, &O17, with an optional & or % suffix.
bool CVBLexer::ReadBasedNumber(std::vector<VBToken>& tokens)
{
    if (pos_ + 2 >= text_.size())
        return false;
    const char base = text_[pos_ + 1];
    const bool hex = base == 'h' || base == 'H';
    const bool octal = base == 'o' || base == 'O';
    if (!(hex && IsHexDigit(text_[pos_ + 2])) && !(octal && IsDigit(text_[pos_ + 2])))
        return false;
    const size_t start = pos_;
    pos_ += 2;
    while (pos_ < text_.size() && (hex ? IsHexDigit(text_[pos_]) : IsDigit(text_[pos_])))
        ++pos_;
    if (pos_ < text_.size() && (text_[pos_] == '&' || text_[pos_] == '%'))
        ++pos_;
    Push(tokens, NumberKind(tokens), start, pos_);
    return true;
}

// #1/1/2000#, #10:30:00 PM#: the forms the IDE saves. A # of anything else is a file number, a
// directive or an operator.
bool CVBLexer::ReadDate(std::vector<VBToken>& tokens)
{
    if (tokens.empty() && pos_ + 1 < text_.size() && IsNameStart(static_cast<unsigned char>(text_[pos_ + 1]))) {
        const size_t start = ++pos_;
        while (pos_ < text_.size() && IsNamePart(static_cast<unsigned char>(text_[pos_])))
            ++pos_;
        Push(tokens, VBTokenKind::Directive, start, pos_,
             static_cast<unsigned char>(WordOf(text_.substr(start, pos_ - start))));
        return true;
    }
    size_t end = pos_ + 1;
    bool separator = false;
    if (end >= text_.size() || !IsDigit(text_[end]))
        return false;
    for (; end < text_.size() && text_[end] != '#'; ++end) {
        const char c = text_[end];
        if (c == '/' || c == '-' || c == ':')
            separator = true;
        else if (!IsDigit(c) && c != ' ' && c != '.' && c != 'A' && c != 'P' && c != 'M' &&
                 c != 'a' && c != 'p' && c != 'm')
            return false;
    }
    if (end >= text_.size() || !separator)
        return false;
    Push(tokens, VBTokenKind::Date, pos_, end + 1);
    pos_ = end + 1;
    return true;
}

// Up to the closing quote, "" standing for one; an unclosed string ends with the line.
void CVBLexer::ReadString(std::vector<VBToken>& tokens)
{
    const size_t start = pos_++;
    while (!AtLineEnd()) {
        if (text_[pos_++] != '"')
            continue;
        if (pos_ < text_.size() && text_[pos_] == '"')
            ++pos_;
        else
            break;
    }
    Push(tokens, VBTokenKind::String, start, pos_);
}

bool CVBLexer::ReadEscapedName(std::vector<VBToken>& tokens)
{
    size_t end = pos_ + 1;
    // No [ inside: the scan ends there, so that a line of [[[[ is read once.
    while (end < text_.size() && text_[end] != ']' && text_[end] != '[' && text_[end] != '\r' &&
           text_[end] != '\n')
        ++end;
    if (end >= text_.size() || text_[end] != ']')
        return false;
    Push(tokens, VBTokenKind::Word, pos_ + 1, end);
    tokens.back().escaped = true;
    pos_ = end + 1;
    return true;
}

void CVBLexer::ReadSymbol(std::vector<VBToken>& tokens, Line& line)
{
    const char c = text_[pos_];
    const VBSymbol pair = PairSymbol(c, pos_ + 1 < text_.size() ? text_[pos_ + 1] : '\0');
    if (pair != VBSymbol::None) {
        Push(tokens, VBTokenKind::Symbol, pos_, pos_ + 2, Id(pair));
        pos_ += 2;
        return;
    }
    const VBSymbol symbol = kSingleSymbols[static_cast<unsigned char>(c)];
    if (symbol == VBSymbol::Unknown)
        line.unknownCharacter = true;
    else if (symbol == VBSymbol::Colon && !tokens.empty())
        MarkLabel(tokens);
    Push(tokens, VBTokenKind::Symbol, pos_, pos_ + 1, Id(symbol));
    ++pos_;
}
