#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "TestSupport.h"
#include "common/Placeholder.h"
#include "common/TokenFinder.h"

TEST(CommonPlaceholder, FillsEveryOccurrenceWithoutRescanningTheValue)
{
    struct Case {
        const char* text;
        const char* token;
        const char* value;
        const char* filled;
    } cases[] = {
        {"a ITEM_00001 b ITEM_00001", "ITEM_00001", "x", "a x b x"},
        {"ITEM_00001", "ITEM_00001", "ITEM_00001ITEM_00001", "ITEM_00001ITEM_00001"},
        {"ITEM_00001 ITEM_00002", "ITEM_00001", "", " ITEM_00002"},
        {"item_00001", "ITEM_00001", "x", "item_00001"},
        {"ITEM_0000ITEM_00001", "ITEM_00001", "1", "ITEM_00001"},
        {"", "ITEM_00001", "x", ""},
    };
    for (const Case& c : cases) {
        std::string text = c.text;
        FillPlaceholder(text, c.token, c.value);
        EXPECT_EQ(text, c.filled) << c.text;
    }
}

// Short texts and long ones, which are searched differently, against the plainest filling. The
// one-by-one search runs on the long ones too, where the processor would otherwise test sixteen
// positions at once.
TEST(CommonPlaceholder, FillingShortAndLongTextsMatchesPositionByPositionFilling)
{
    const std::vector<std::string> pieces = {"ITEM_00001", "ITEM_0000", "I", "1", " ", " Calc(",
                                             "Calc", "\n", "x", "ITEM_00001ITEM_00001"};
    const std::vector<std::string> tokens = {"ITEM_00001", " Calc(", "x", "I1"};
    RandomPick pick(11);
    for (int round = 0; round < 3000; ++round) {
        std::string text;
        for (size_t n = pick(400); n > 0; --n)
            text += pieces[pick(pieces.size())];
        const std::string& token = tokens[pick(tokens.size())];
        const std::string value = pieces[pick(pieces.size())];
        const size_t from = pick(text.size() + 1);
        const size_t first = text.find(token, from);
        std::string filled = text;
        FillPlaceholder(filled, token, value);
        ASSERT_EQ(filled, FilledByPositions(text, token, value)) << "token \"" << token << "\" in \"" << text << "\"";
        ASSERT_EQ(FindPlaceholder(text, from, token), first) << "token \"" << token << "\" from " << from;
        ASSERT_EQ(CTokenFinder(token, CTokenFinder::Search::OneByOne).Find(text, from), first)
            << "one by one: token \"" << token << "\" from " << from;
    }
}
