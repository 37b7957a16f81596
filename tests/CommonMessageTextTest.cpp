#include <gtest/gtest.h>

#include <string>

#include "common/MessageText.h"

TEST(CommonMessageText, NamedFieldsAreFilledOnceAndShownEscaped)
{
    struct Case {
        const char* behaviour;
        const char* messageTemplate;
        const char* path;
        const char* reason;
        const char* expected;
    } cases[] = {
        {"each field where it stands", "cannot write {path}: {reason}", "/t/a.bas", "disk full",
         "cannot write /t/a.bas: disk full"},
        {"a field twice, and in another order", "{reason} {path} {reason}", "p", "r", "r p r"},
        {"a value naming a field is not filled again", "{path}: {reason}", "{reason}", "x", "{reason}: x"},
        {"a value holding a token stays as it is", "{path}", "ITEM_00001", "", "ITEM_00001"},
        {"a word no field names is kept, and so is a lone brace", "{other} {path {path}}", "p", "",
         "{other} {path p}"},
        {"control characters shown escaped", "{path}", "a\nb\r\t\x1b", "", "a\\nb\\r\\t\\x1b"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(MessageText(c.messageTemplate, {{"path", std::string(c.path)}, {"reason", std::string(c.reason)}}),
                  c.expected)
            << c.behaviour;
}
