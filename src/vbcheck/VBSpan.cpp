#include "vbcheck/VBSpan.h"

const VBToken* FindOutsideParentheses(const VBToken* from, const VBToken* end, std::string_view symbols)
{
    int depth = 0;
    for (const VBToken* at = from; at < end; ++at) {
        if (at->kind != VBTokenKind::Symbol || at->text.size() != 1)
            continue;
        const char c = at->text[0];
        if (depth == 0 && symbols.find(c) != std::string_view::npos)
            return at;
        if (c == '(')
            ++depth;
        else if (c == ')' && depth > 0)
            --depth;
    }
    return end;
}
