#pragma once

#include <string_view>
#include <vector>

#include "vbcheck/VBToken.h"

// A place in the tokens of one logical line, and the first error met there. An error with an
// empty message stops the line without a finding: code VB6 may refuse, but in words we would
// have to guess.
class CVBCursor {
public:
    void Start(const std::vector<VBToken>& tokens);

    // Past the end, the End token that closes every line. Inline: the checker asks for every token.
    const VBToken& Peek(size_t ahead = 0) const
    {
        const size_t at = pos_ + ahead;
        return at < tokens_->size() ? (*tokens_)[at] : tokens_->back();
    }
    const VBToken& Take();
    size_t Position() const { return pos_; }
    void Rewind(size_t position) { pos_ = position; }
    bool IsWord(std::string_view word, size_t ahead = 0) const;
    bool IsSymbol(std::string_view symbol, size_t ahead = 0) const;
    bool IsKind(VBTokenKind kind, size_t ahead = 0) const { return Peek(ahead).kind == kind; }
    bool TakeWord(std::string_view word);
    bool TakeSymbol(std::string_view symbol);
    // The last token before the end of the line.
    const VBToken& Last() const;

    // Where a statement may end: the line's end, a colon, or the Else of a single-line If.
    bool AtStatementEnd(bool inSingleLineIf) const;

    bool Fail(std::string_view message);
    bool Failed() const { return failed_; }
    void ClearFailure() { failed_ = false; }
    std::string_view Message() const { return message_; }
    int FailLine() const { return failLine_; }

private:
    const std::vector<VBToken>* tokens_ = nullptr;
    size_t pos_ = 0;
    bool failed_ = false;
    std::string_view message_;
    int failLine_ = 0;
};
