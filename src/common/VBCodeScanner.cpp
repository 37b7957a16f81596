#include "common/VBCodeScanner.h"

#include <algorithm>

#include "common/FoldCase.h"

namespace {

bool IsBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\r' || c == '\f' || c == '\v';
}

bool IsDigit(char c)
{
    return c >= '0' && c <= '9';
}

// Bytes past ASCII count as letters: VB takes the letters of the system code page.
bool IsNameStart(char c)
{
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || static_cast<unsigned char>(c) >= 0x80;
}

bool IsNameChar(char c)
{
    return IsNameStart(c) || IsDigit(c) || c == '_';
}

// The letter after "&" in a hexadecimal or octal number.
bool IsRadixLetter(char c)
{
    return c == 'H' || c == 'h' || c == 'O' || c == 'o';
}

bool IsTypeSuffix(char c)
{
    return c == '%' || c == '&' || c == '!' || c == '#' || c == '@' || c == '$';
}

// True when the physical line from start to end (its line feed or the code's end) ends in " _".
bool IsContinued(std::string_view code, size_t start, size_t end)
{
    while (end > start && IsBlank(code[end - 1]))
        --end;
    return end - start >= 2 && code[end - 1] == '_' && IsBlank(code[end - 2]);
}

}  // namespace

size_t CVBCodeScanner::LogicalLineStart(std::string_view code, size_t pos)
{
    const auto lineStart = [&](size_t at) {
        const size_t lineFeed = at == 0 ? std::string_view::npos : code.rfind('\n', at - 1);
        return lineFeed == std::string_view::npos ? 0 : lineFeed + 1;
    };
    size_t start = lineStart(pos);
    while (start > 0 && IsContinued(code, lineStart(start - 1), start - 1))
        start = lineStart(start - 1);
    return start;
}

size_t CVBCodeScanner::LogicalLineEnd(std::string_view code, size_t pos)
{
    // From pos on: what stands before it on its line cannot end the line.
    for (size_t start = pos;;) {
        const size_t end = std::min(code.find('\n', start), code.size());
        if (end == code.size() || !IsContinued(code, start, end))
            return end;
        start = end + 1;
    }
}

bool CVBCodeScanner::Next(Token& token)
{
    while (pos_ < code_.size()) {
        const char c = code_[pos_];
        const bool statementStart = atStatementStart_;
        if (inComment_ || c == '\'') {
            SkipComment();
        } else if (IsBlank(c)) {
            ++pos_;
        } else if (c == '\n') {
            return Emit(token, Kind::LineEnd, pos_++, 1);
        } else if (c == '_' && SkipContinuation()) {
            continue;
        } else if (c == '"') {
            const size_t start = pos_;
            SkipString();
            return Emit(token, Kind::String, start, pos_ - start);
        } else if (IsDigit(c) || (c == '&' && pos_ + 1 < code_.size() && IsRadixLetter(code_[pos_ + 1]))) {
            const size_t start = pos_;
            SkipNumber();
            return Emit(token, Kind::Number, start, pos_ - start);
        } else if (IsNameStart(c) || (c == '[' && ReadBracketedName(token))) {
            if (c != '[')
                ReadName(token);
            if (!statementStart || !IsRem(token))
                return true;
            pos_ = token.start;
            SkipComment();
        } else {
            return Emit(token, Kind::Symbol, pos_++, 1);
        }
    }
    return false;
}

bool CVBCodeScanner::Emit(Token& token, Kind kind, size_t start, size_t length)
{
    token.kind = kind;
    token.start = start;
    token.length = length;
    token.member = kind == Kind::Name && (previousSymbol_ == '.' || previousSymbol_ == '!');
    token.bracketed = false;
    previousSymbol_ = kind == Kind::Symbol ? code_[start] : '\0';
    atStatementStart_ = kind == Kind::LineEnd || previousSymbol_ == ':';
    return true;
}

void CVBCodeScanner::SkipComment()
{
    size_t end = code_.find('\n', pos_);
    if (end == std::string_view::npos)
        end = code_.size();
    size_t last = end;
    while (last > pos_ && IsBlank(code_[last - 1]))
        --last;
    inComment_ = last - pos_ >= 2 && code_[last - 1] == '_' && IsBlank(code_[last - 2]);
    pos_ = inComment_ && end < code_.size() ? end + 1 : end;
}

bool CVBCodeScanner::SkipContinuation()
{
    if (pos_ == 0 || !IsBlank(code_[pos_ - 1]))
        return false;
    size_t i = pos_ + 1;
    while (i < code_.size() && IsBlank(code_[i]))
        ++i;
    if (i < code_.size() && code_[i] != '\n')
        return false;
    pos_ = i < code_.size() ? i + 1 : i;
    return true;
}

// A "!" after a name is its type suffix unless a name follows, which makes it the "!" of a member.
void CVBCodeScanner::ReadName(Token& token)
{
    const size_t start = pos_;
    while (pos_ < code_.size() && IsNameChar(code_[pos_]))
        ++pos_;
    Emit(token, Kind::Name, start, pos_ - start);
    if (pos_ < code_.size() && IsTypeSuffix(code_[pos_])) {
        const bool bang = code_[pos_] == '!' && pos_ + 1 < code_.size() &&
                          (IsNameStart(code_[pos_ + 1]) || code_[pos_ + 1] == '[');
        if (!bang)
            ++pos_;
    }
}

bool CVBCodeScanner::ReadBracketedName(Token& token)
{
    const size_t close = code_.find_first_of("]\n", pos_);
    if (close == std::string_view::npos || code_[close] != ']')
        return false;
    Emit(token, Kind::Name, pos_ + 1, close - pos_ - 1);
    token.bracketed = true;
    pos_ = close + 1;
    return true;
}

// Digits, a decimal point and exponent, "&H" and "&O" literals, and a type suffix.
void CVBCodeScanner::SkipNumber()
{
    pos_ += code_[pos_] == '&' ? 2 : 1;
    while (pos_ < code_.size() && (IsNameChar(code_[pos_]) || code_[pos_] == '.'))
        ++pos_;
    if (pos_ < code_.size() && IsTypeSuffix(code_[pos_]) && code_[pos_] != '$')
        ++pos_;
}

// To the closing quote, a doubled quote standing for one; an unclosed string ends with its line.
void CVBCodeScanner::SkipString()
{
    for (++pos_; pos_ < code_.size() && code_[pos_] != '\n'; ++pos_) {
        if (code_[pos_] != '"')
            continue;
        if (pos_ + 1 < code_.size() && code_[pos_ + 1] == '"') {
            ++pos_;
            continue;
        }
        ++pos_;
        return;
    }
}

// Rem starts a comment only where a statement starts; elsewhere it is a name.
bool CVBCodeScanner::IsRem(const Token& token) const
{
    if (token.bracketed || token.length != 3 || !EqualIgnoringCase(Text(token), "Rem"))
        return false;
    const size_t after = token.start + 3;
    return after == code_.size() || IsBlank(code_[after]) || code_[after] == '\n';
}
