#pragma once

#include <string_view>
#include <vector>

#include "vbcheck/VBToken.h"

// A place in the tokens of one logical line, and the first error met there. Stop ends the line
// without a finding: code VB6 may refuse, but in words we would have to guess.
class CVBCursor {
public:
    // tokens ends in an End token and does not change while the cursor reads it.
    void Start(const std::vector<VBToken>& tokens);

    // Past the end, the End token that closes every line. Inline: the checker asks for every token.
    const VBToken& Peek(size_t ahead = 0) const
    {
        const size_t at = pos_ + ahead;
        return at < count_ ? tokens_[at] : tokens_[count_ - 1];
    }
    const VBToken& Take()
    {
        const VBToken& token = Peek();
        if (pos_ + 1 < count_)
            ++pos_;
        return token;
    }
    size_t Position() const { return pos_; }
    void Rewind(size_t position) { pos_ = position; }
    bool IsWord(VBWord word, size_t ahead = 0) const { return Peek(ahead).Word() == word; }
    bool IsSymbol(VBSymbol symbol, size_t ahead = 0) const { return Peek(ahead).Symbol() == symbol; }
    bool IsKind(VBTokenKind kind, size_t ahead = 0) const { return Peek(ahead).kind == kind; }
    bool TakeWord(VBWord word)
    {
        if (!IsWord(word))
            return false;
        Take();
        return true;
    }
    bool TakeSymbol(VBSymbol symbol)
    {
        if (!IsSymbol(symbol))
            return false;
        Take();
        return true;
    }
    // The last token before the end of the line.
    const VBToken& Last() const;

    // Where a statement may end: the line's end, a colon, or the Else of a single-line If.
    bool AtStatementEnd(bool inSingleLineIf) const { return AtStatementEndAt(0, inSingleLineIf); }
    bool AtStatementEndAt(size_t ahead, bool inSingleLineIf) const
    {
        return IsKind(VBTokenKind::End, ahead) || IsSymbol(VBSymbol::Colon, ahead) ||
               (inSingleLineIf && IsWord(VBWord::Else, ahead));
    }

    // The error is told at the next token, or at the given one.
    bool Fail(std::string_view message);
    bool FailAt(const VBToken& token, std::string_view message);
    // Ends the line without a finding.
    bool Stop() { return Fail({}); }
    bool Failed() const { return failed_; }
    bool Stopped() const { return failed_ && message_.empty(); }
    void ClearFailure() { failed_ = false; }
    std::string_view Message() const { return message_; }
    // The token the error is told at, and its line.
    VBTextAt FailedAt() const { return failedAt_; }

private:
    // The line's tokens as a pointer and a count, not the vector: asked for every token, the
    // vector's size would be a division each time.
    const VBToken* tokens_ = nullptr;
    size_t count_ = 0;
    size_t pos_ = 0;
    bool failed_ = false;
    std::string_view message_;
    VBTextAt failedAt_;
};
