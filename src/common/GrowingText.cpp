#include "common/GrowingText.h"

#include <algorithm>

#include "common/Placeholder.h"

namespace {

// The first position at which a token of this length could start and reach into text from pos
// on: up to length - 1 characters before pos.
size_t ReachingBack(size_t pos, size_t tokenLength)
{
    return pos >= tokenLength - 1 ? pos - (tokenLength - 1) : 0;
}

}  // namespace

CGrowingText& CGrowingText::operator+=(std::string_view part)
{
    // Every start kept lies at most at size - (length - 1), so a token completed by the new part
    // is still found: nothing to update.
    text_ += part;
    return *this;
}

void CGrowingText::Fill(std::string_view token, std::string_view value)
{
    if (token.empty())
        return;
    TokenStart& filled = StartOf(token);
    const size_t first = FillPlaceholderFrom(text_, filled.from, token, value);
    if (first == std::string::npos) {
        filled.from = FirstPossibleStart(token, filled.from);
        return;
    }
    // From first on the text has changed: values may carry any token, and a value joined with the
    // characters before it may complete one.
    for (TokenStart& start : starts_)
        start.from = std::min(start.from, ReachingBack(first, start.token.size()));
    // The filled token itself is left only where such a value or join brought it back.
    filled.from = FirstPossibleStart(token, ReachingBack(first, token.size()));
}

void CGrowingText::clear()
{
    text_.clear();
    starts_.clear();
}

std::string CGrowingText::Release()
{
    std::string text = std::move(text_);
    clear();
    return text;
}

// The first occurrence of token at or after from, or, when there is none, the first position at
// which text appended later could complete one.
size_t CGrowingText::FirstPossibleStart(std::string_view token, size_t from) const
{
    const size_t found = FindPlaceholder(text_, from, token);
    return found != std::string::npos ? found : ReachingBack(text_.size(), token.size());
}

CGrowingText::TokenStart& CGrowingText::StartOf(std::string_view token)
{
    // The tokens of templates differ in their last character: looked at first, it settles most.
    for (TokenStart& start : starts_)
        if (start.token.back() == token.back() && start.token == token)
            return start;
    return starts_.emplace_back(TokenStart{std::string(token), 0});
}

void FillPlaceholder(CGrowingText& text, std::string_view token, std::string_view value)
{
    text.Fill(token, value);
}
