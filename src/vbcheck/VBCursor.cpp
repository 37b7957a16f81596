#include "vbcheck/VBCursor.h"

void CVBCursor::Start(const std::vector<VBToken>& tokens)
{
    tokens_ = &tokens;
    pos_ = 0;
    failed_ = false;
    message_ = {};
    failLine_ = 0;
}

const VBToken& CVBCursor::Last() const
{
    return tokens_->size() >= 2 ? (*tokens_)[tokens_->size() - 2] : tokens_->back();
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
