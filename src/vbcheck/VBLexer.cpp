#include "vbcheck/VBLexer.h"

#include <cstring>

#include "common/Utf8.h"
#include "vbcheck/VBCheckMessages.h"
#include "vbcheck/VBKeywords.h"

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

bool IsSymbolCharacter(char c)
{
    switch (c) {
    case '(': case ')': case ',': case ';': case ':': case '.': case '!': case '=': case '<': case '>':
    case '+': case '-': case '*': case '/': case '\\': case '^': case '&': case '#':
        return true;
    default:
        return false;
    }
}

// Where a statement starts, a word may be Rem: at the line's start, after its line number or after
// a colon.
bool AtStatementStart(const std::vector<VBToken>& tokens)
{
    if (tokens.empty() || (tokens.size() == 1 && tokens[0].kind == VBTokenKind::Number))
        return true;
    const VBToken& last = tokens.back();
    return last.kind == VBTokenKind::Symbol && last.text.size() == 1 && last.text[0] == ':';
}

}  // namespace

void CVBLexer::Problem(Line& line, std::string_view message, std::string_view about) const
{
    if (line.problem.empty()) {
        line.problem = message;
        line.problemText = about;
        // Too many continuations is the statement's fault, told where it starts.
        line.problemLine = message == kTooManyContinuations ? line.firstLine : line_;
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
            const size_t start = pos_;
            ReadWord(tokens, line);
            if (statementStart && IsKeyword(text_.substr(start, pos_ - start), "Rem")) {
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
    tokens.push_back({VBTokenKind::End, false, false, tokens.empty() ? line.firstLine : tokens.back().line, end});
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
    Push(tokens, VBTokenKind::Word, start, pos_);
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
    Push(tokens, VBTokenKind::Number, start, pos_);
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
    Push(tokens, VBTokenKind::Number, start, pos_);
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
        Push(tokens, VBTokenKind::Directive, start, pos_);
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
    // Compared a character at a time: this runs for every operator and parenthesis of a module.
    const char c = text_[pos_];
    const char next = pos_ + 1 < text_.size() ? text_[pos_ + 1] : '\0';
    const bool pair = (c == ':' && next == '=') || (c == '<' && (next == '>' || next == '=')) ||
                      (c == '>' && (next == '=' || next == '<')) ||
                      (c == '=' && (next == '<' || next == '>'));
    if (pair) {
        Push(tokens, VBTokenKind::Symbol, pos_, pos_ + 2);
        pos_ += 2;
        return;
    }
    if (!IsSymbolCharacter(c))
        line.unknownCharacter = true;
    Push(tokens, VBTokenKind::Symbol, pos_, pos_ + 1);
    ++pos_;
}
