#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "common/GrowingText.h"
#include "TestSupport.h"

namespace {

// A growing text and a plain one, filled alike: the plain one is filled over the whole text each
// time, position by position, which is what the growing one must give byte for byte.
struct TextPair {
    CGrowingText growing;
    std::string plain;

    void Append(const std::string& part)
    {
        growing += part;
        plain += part;
    }
    void Fill(const std::string& token, const std::string& value)
    {
        growing.Fill(token, value);
        plain = FilledByPositions(plain, token, value);
    }
};

}  // namespace

TEST(CommonGrowingText, FillsLikeWholeTextFilling)
{
    // {kAppend, text} appends text; {token, value} fills token with value.
    constexpr const char* kAppend = nullptr;
    struct Step {
        const char* token;
        const char* text;
    };
    struct Case {
        const char* behaviour;
        std::vector<Step> steps;
        const char* expected;
    } cases[] = {
        {"a value carrying a token is filled by a later filling",
         {{kAppend, "Dim ITEM_00002\n"}, {"ITEM_00002", "ITEM_00001"},
          {kAppend, "x ITEM_00001\n"}, {"ITEM_00001", "a"}},
         "Dim a\nx a\n"},
        {"a token a value brings in before the token's last filling is found by the next",
         {{kAppend, "AddRule ITEM_00002\n"}, {kAppend, "Dim ITEM_00008 As Variant\n"},
          {"ITEM_00008", "x"}, {"ITEM_00002", "ITEM_00008"}, {"ITEM_00008", "true"}},
         "AddRule true\nDim x As Variant\n"},
        {"a token split over two appends",
         {{kAppend, "a ITEM_000"}, {"ITEM_00001", "x"}, {kAppend, "01 b"}, {"ITEM_00001", "y"}},
         "a y b"},
        {"a value joined with the text before it completes the token",
         {{kAppend, "ITEM_0000ITEM_00001"}, {"ITEM_00001", "1"}, {"ITEM_00001", "z"}},
         "z"},
        {"an empty value joins what stood around the token",
         {{kAppend, "ITEM_0ITEM_00002000"}, {"ITEM_00002", ""}, {kAppend, "2"},
          {"ITEM_00002", "k"}},
         "k"},
        {"the inserted value is not searched again by the same filling",
         {{kAppend, "ITEM_00003"}, {"ITEM_00003", "ITEM_00003ITEM_00003"}},
         "ITEM_00003ITEM_00003"},
        {"a token of another form is filled too, and the placeholders its value brings are found",
         {{kAppend, "x ITEM_00001 Args"}, {"Args", "ITEM_00002"}, {"ITEM_00002", "y"},
          {"ITEM_00001", "z"}},
         "x z y"},
    };
    for (const Case& c : cases) {
        TextPair text;
        for (const Step& step : c.steps) {
            if (step.token == kAppend)
                text.Append(step.text);
            else
                text.Fill(step.token, step.text);
        }
        EXPECT_EQ(text.growing.Text(), c.expected) << c.behaviour;
        EXPECT_EQ(text.plain, c.expected) << c.behaviour;
    }
}

// Texts and values made of tokens, pieces of tokens and digits, so that values carry tokens, joins
// complete them and appends finish the ones left open at the end.
TEST(CommonGrowingText, RandomAppendsAndFillsMatchWholeTextFilling)
{
    const std::vector<std::string> pieces = {
        "ITEM_00001", "ITEM_00002", "ITEM_00003", "ITEM_00008", "ITEM_0000", "ITEM_000",
        "ITEM_", "I", "0", "1", "2", "8", "x", " ", "\n", "  Dim arr(ITEM_00002) As Variant\n"};
    const std::vector<std::string> tokens = {"ITEM_00001", "ITEM_00002", "ITEM_00003",
                                             "ITEM_00008"};
    RandomPick pick(20261207);
    auto piecesOf = [&](size_t most) {
        std::string text;
        for (size_t n = pick(most + 1); n > 0; --n)
            text += pieces[pick(pieces.size())];
        return text;
    };
    for (int round = 0; round < 2000; ++round) {
        TextPair text;
        std::string history;
        for (int step = 0; step < 40; ++step) {
            if (pick(10) < 4) {
                const std::string part = piecesOf(4);
                text.Append(part);
                history += "append \"" + part + "\"\n";
            } else {
                const std::string& token = tokens[pick(tokens.size())];
                const std::string value = piecesOf(2);
                text.Fill(token, value);
                history += "fill " + token + " \"" + value + "\"\n";
            }
            ASSERT_EQ(text.growing.Text(), text.plain) << history;
        }
        // Emptied, the text starts afresh: what was known about the old one no longer holds.
        text.growing.Clear();
        text.plain.clear();
        text.Append("ITEM_00001ITEM_00002");
        text.Fill("ITEM_00002", "b");
        text.Fill("ITEM_00001", "a");
        ASSERT_EQ(text.growing.Text(), "ab") << history;
    }
}
