#include "vbcheck/VBCursor.h"

#include "common/FoldCase.h"

void CVBCursor::Start(const std::vector<VBToken>& tokens)
{
    tokens_ = &tokens;
    pos_ = 0;
    failed_ = false;
    message_ = {};
    failLine_ = 0;
}

const VBToken& CVBCursor::Take()
{
    const VBToken& token = Peek();
    if (pos_ + 1 < tokens_->size())
        ++pos_;
    return token;
}

const VBToken& CVBCursor::Last() const
{
    return tokens_->size() >= 2 ? (*tokens_)[tokens_->size() - 2] : tokens_->back();
}

bool CVBCursor::IsWord(std::string_view word, size_t ahead) const
{
    const VBToken& token = Peek(ahead);
    return token.kind == VBTokenKind::Word && !token.escaped && token.text.size() == word.size() &&
           EqualIgnoringCase(token.text, word);
}

bool CVBCursor::IsSymbol(std::string_view symbol, size_t ahead) const
{
    const VBToken& token = Peek(ahead);
    // Symbols are one or two characters: compared here rather than by a library call.
    if (token.kind != VBTokenKind::Symbol || token.text.size() != symbol.size())
        return false;
    for (size_t i = 0; i < symbol.size(); ++i) {
        if (token.text[i] != symbol[i])
            return false;
    }
    return true;
}

bool CVBCursor::TakeWord(std::string_view word)
{
    if (!IsWord(word))
        return false;
    Take();
    return true;
}

bool CVBCursor::TakeSymbol(std::string_view symbol)
{
    if (!IsSymbol(symbol))
        return false;
    Take();
    return true;
}

bool CVBCursor::AtStatementEnd(bool inSingleLineIf) const
{
    return IsKind(VBTokenKind::End) || IsSymbol(":") || (inSingleLineIf && IsWord("Else"));
}

bool CVBCursor::Fail(std::string_view message)
{
    if (!failed_) {
        failed_ = true;
        message_ = message;
        failLine_ = Peek().line;
    }
    return false;
}
