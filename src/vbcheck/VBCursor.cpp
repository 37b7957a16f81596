#include "vbcheck/VBCursor.h"

void CVBCursor::Start(const std::vector<VBToken>& tokens)
{
    tokens_ = tokens.data();
    count_ = tokens.size();
    pos_ = 0;
    failed_ = false;
    message_ = {};
    failedAt_ = {};
}

const VBToken& CVBCursor::Last() const
{
    return count_ >= 2 ? tokens_[count_ - 2] : tokens_[count_ - 1];
}

bool CVBCursor::Fail(std::string_view message)
{
    return FailAt(Peek(), message);
}

bool CVBCursor::FailAt(const VBToken& token, std::string_view message)
{
    if (!failed_) {
        failed_ = true;
        message_ = message;
        failedAt_ = {token.text, token.line};
    }
    return false;
}
