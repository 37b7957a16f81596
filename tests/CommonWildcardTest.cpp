#include <gtest/gtest.h>

#include "common/Wildcard.h"

TEST(CommonWildcard, WildcardsAreStarAndQuestionMarkOnly)
{
    struct Case {
        const char* wildcard;
        const char* name;
        bool matches;
    } cases[] = {
        {"*.pxkbx", "Plant.pxkbx", true},
        {"*.pxkbx", "Plant.pxkbx.bak", false},
        {"P?ant.*", "Plant.pxkbx", true},
        {"P?ant.*", "Pant.pxkbx", false},
        {"*", ".", true},
        {"*", "..", true},
        {"a*b*c", "aXbYbZc", true},
        {"a*b*c", "aXbYbZ", false},
        {"[ab].txt", "[ab].txt", true},
        {"[ab].txt", "a.txt", false},
        {"a\\b", "a\\b", true},
        {"plant.pxkbx", "Plant.pxkbx", false},
        {"**", "", true},
        {"*a", "*ba", true},
        {"?pfel.pxkbx", "\xC3\x84pfel.pxkbx", true},
        {"??pfel.pxkbx", "\xC3\x84pfel.pxkbx", false},
        {"*?\x84", "\xC3\x84", false},
        {"?", "\xF0\x9F\x8C\xB1", true},
        {"??", "\xC3x", true},
    };
    for (const Case& c : cases)
        EXPECT_EQ(CWildcard::Matches(c.wildcard, c.name), c.matches) << c.wildcard << " " << c.name;
}
