#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "TestSupport.h"
#include "common/FoldCase.h"

// Texts of letters in both cases, digits and other bytes around the case bit, long enough that
// sixteen positions are tested at once, found against comparing every position in full.
TEST(CommonFoldCase, FindsATokenInAnyLetterCaseAsComparingEveryPosition)
{
    const std::vector<std::string> pieces = {"c", "C", "a", "A", "l", "L", "@", "`", "1", "_", " ",
                                             "\xC3\xA9", "\xC3\x89", "\xC4\xB1"};
    const std::vector<std::string> tokens = {"calc", "CaLc", "c", "c1", "@a", "\xC3\xA9l", "ca"};
    RandomPick pick(5);
    for (int round = 0; round < 5000; ++round) {
        std::string text;
        for (size_t n = pick(48); n > 0; --n)
            text += pieces[pick(pieces.size())];
        const std::string& token = tokens[pick(tokens.size())];
        const size_t from = pick(text.size() + 2);
        size_t expected = std::string::npos;
        for (size_t pos = from; pos + token.size() <= text.size() && expected == std::string::npos; ++pos) {
            if (EqualIgnoringCase(std::string_view(text).substr(pos, token.size()), token))
                expected = pos;
        }
        ASSERT_EQ(FindIgnoringCase(text, token, from), expected)
            << "\"" << text << "\", \"" << token << "\" from " << from;
    }
}
