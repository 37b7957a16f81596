#include "vbcheck/VBSpan.h"

#include "common/FoldCase.h"

bool IsWordText(const VBToken* token, std::string_view word)
{
    return token && token->kind == VBTokenKind::Word && !token->escaped && EqualIgnoringCase(token->text, word);
}

const VBToken* FindOutsideParentheses(const VBToken* from, const VBToken* end, VBSymbol symbol)
{
    int depth = 0;
    for (const VBToken* at = from; at < end; ++at) {
        const VBSymbol found = at->Symbol();
        if (depth == 0 && found == symbol)
            return at;
        if (found == VBSymbol::LeftParenthesis)
            ++depth;
        else if (found == VBSymbol::RightParenthesis && depth > 0)
            --depth;
    }
    return end;
}
