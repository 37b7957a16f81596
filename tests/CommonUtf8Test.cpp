#include <gtest/gtest.h>

#include <string>

#include "common/Utf8.h"

TEST(CommonUtf8, MeasuresCharactersAndKeepsStrayBytesAlone)
{
    struct Case {
        const char* behaviour;
        std::string text;
        size_t firstLength;  // bytes of the first character
        size_t characters;
        size_t utf16;
        size_t whole;  // bytes of whole characters at the start
    };
    const Case cases[] = {
        {"ASCII", "ab", 1, 2, 2, 2},
        {"two, three and four bytes", "\u00FC\u20AC\U0001F600", 2, 3, 4, 9},
        {"a character cut off at the end", "a\u20AC" "\xE2\x82", 1, 3, 3, 4},
        {"a lead byte alone at the end", "\u00FC\xF0", 2, 2, 3, 2},
        {"an overlong form is no character", "\xC0\xAF", 1, 1, 1, 2},
        {"a continuation byte alone", "\x80x", 1, 1, 1, 2},
        {"a lead byte followed by ASCII", "\xE2x", 1, 2, 2, 2},
        {"past U+10FFFF", "\xF5\x80\x80\x80", 1, 1, 2, 4},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(CUtf8::CharacterLength(c.text), c.firstLength) << c.behaviour;
        EXPECT_EQ(CUtf8::CountCharacters(c.text), c.characters) << c.behaviour;
        EXPECT_EQ(CUtf8::Utf16Length(c.text), c.utf16) << c.behaviour;
        EXPECT_EQ(CUtf8::WholeCharacters(c.text), c.whole) << c.behaviour;
    }
}

TEST(CommonUtf8, DecodesWhatItEncodesAndRefusesWhatIsNoCharacter)
{
    for (char32_t point : {0x41u, 0x7Fu, 0x80u, 0x7FFu, 0x800u, 0xFFFFu, 0x10000u, 0x10FFFFu}) {
        std::string bytes;
        CUtf8::Append(point, bytes);
        ASSERT_EQ(CUtf8::CharacterLength(bytes), bytes.size()) << std::hex << static_cast<unsigned>(point);
        EXPECT_EQ(CUtf8::CodePoint(bytes), point) << std::hex << static_cast<unsigned>(point);
    }
    for (const char* none : {"\x80", "\xC1\xBF", "\xE0\x9F\xBF", "\xED\xA0\x80", "\xF4\x90\x80\x80"})
        EXPECT_FALSE(CUtf8::CodePoint(none)) << none;
}
