#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "kbitems/KBItem.h"
#include "kbitems/VBUtility.h"
#include "TestSupport.h"

namespace {

constexpr char kQuoted[] = "  ITEM_00001(ITEM_00002) = \"ITEM_00003\"\n";
constexpr char kBare[] = "  ITEM_00001(ITEM_00002) = ITEM_00003\n";

TEST(KBItemsArrayBlock, DeclaresCountAsUpperBoundAndOneLinePerEntry)
{
    struct Case {
        const char* behaviour;
        std::string target;
        const char* elementTemplate;
        std::vector<std::string> list;
        std::string expected;
    };
    const std::vector<Case> cases = {
        {"empty list declares size 0 only", "", kQuoted, {}, "  Dim arr(0) As Variant\n"},
        {"quoted entries", "", kQuoted, {"Pump", "Valve"},
         "  Dim arr(2) As Variant\n"
         "  arr(0) = \"Pump\"\n"
         "  arr(1) = \"Valve\"\n"},
        {"bare entries, quotes not doubled", "", kBare, {"1", "\"x\""},
         "  Dim arr(2) As Variant\n"
         "  arr(0) = 1\n"
         "  arr(1) = \"x\"\n"},
        {"tokens left in the earlier text are filled too", "prev ITEM_00002 ITEM_00003\n", kBare,
         {"K"},
         "prev 1 K\n"
         "  Dim arr(1) As Variant\n"
         "  arr(0) = K\n"},
    };
    for (const Case& c : cases) {
        std::string target = c.target;
        CVBUtility::MakeArrayBlock("arr", c.elementTemplate, c.list, target);
        EXPECT_EQ(target, c.expected) << c.behaviour;
    }
}

TEST(KBItemsArgumentList, OneEntryPerParameterLessSkipCountPlusOne)
{
    struct Case {
        const char* behaviour;
        std::string code;
        int skipCount;
        const char* argumentTemplate;
        std::string expected;
    };
    const std::string threeParameters = "Function F(a, b, c)\n  F = a\nEnd Function\n";
    const std::vector<Case> cases = {
        {"rule: every parameter", threeParameters, -1, "Args(ITEM_00001)", "Args(0),Args(1),Args(2)"},
        {"method: object by name", threeParameters, 0, "Args(ITEM_00001)", ",Args(0),Args(1)"},
        {"demon: object and control by name", threeParameters, 1, "Args(ITEM_00001)", ",Args(0)"},
        {"sort: array slots", threeParameters, 0, "arr(ITEM_00001)", ",arr(0),arr(1)"},
        {"no parameters, rule", "Function F()\n", -1, "Args(ITEM_00001)", "Args(0)"},
        {"no parameters, method", "Function F()\n", 0, "Args(ITEM_00001)", ""},
        {"no parameters, demon", "Function F()\n", 1, "Args(ITEM_00001)", ""},
        {"no parenthesis at all", "Sub F\n", -1, "Args(ITEM_00001)", "Args(0)"},
        {"commas of a later call do not count", "Function F(o)\n  x = G(1, 2)\n", 0,
         "Args(ITEM_00001)", ""},
        {"'(' in a comment opens the counted range", "' (see a, b)\nFunction F(o)\n", 0,
         "Args(ITEM_00001)", ",Args(0)"},
        {"')' before the first '(' leaves no commas", "' done :)\nFunction F(a, b, c)\n", -1,
         "Args(ITEM_00001)", "Args(0)"},
    };
    for (const Case& c : cases) {
        std::string target;
        CVBUtility::MakeArgumentList(c.code, target, c.skipCount, c.argumentTemplate);
        EXPECT_EQ(target, c.expected) << c.behaviour;
    }
}

TEST(KBItemsRenameRoutine, RewritesDeclarationAndAssignmentsOnly)
{
    struct Case {
        const char* behaviour;
        std::string code;
        std::string expected;
    };
    const std::vector<Case> cases = {
        {"declaration", "Function Calc(a)\n", "Function Calc_Pump(a)\n"},
        {"assignment at a line start", "x\nCalc = 1\n", "x\nCalc_Pump = 1\n"},
        {"assignment at a line start, no blank", "x\nCalc=1\n", "x\nCalc_Pump=1\n"},
        {"indented Set assignment", "x\n  Set Calc = o\n", "x\n  Set Calc_Pump = o\n"},
        {"indented assignment, no blank", "x\n  Calc=1\n", "x\n  Calc_Pump=1\n"},
        {"inside parentheses", "x = (Calc)\n", "x = (Calc)\n"},
        {"after a tab", "x\n\tCalc = 1\n", "x\n\tCalc = 1\n"},
        {"at the very first position", "Calc = 1\n", "Calc = 1\n"},
        {"before a line break", "y = Calc\n", "y = Calc\n"},
        {"before a comma", "G Calc, 1\n", "G Calc, 1\n"},
        {"part of a longer name", "x = MyCalc(1)\n", "x = MyCalc(1)\n"},
    };
    for (const Case& c : cases) {
        std::string code = c.code;
        CVBUtility::RenameRoutine(code, "Calc", "Calc_Pump");
        EXPECT_EQ(code, c.expected) << c.behaviour;
    }
}

TEST(KBItemsRenameRoutine, SecondCallChangesNothing)
{
    std::string code = "Function Calc(a)\n  Calc = a\nCalc=2\nEnd Function\n";
    const std::string once = "Function Calc_Pump(a)\n  Calc_Pump = a\nCalc_Pump=2\nEnd Function\n";
    CVBUtility::RenameRoutine(code, "Calc", "Calc_Pump");
    EXPECT_EQ(code, once);
    CVBUtility::RenameRoutine(code, "Calc", "Calc_Pump");
    EXPECT_EQ(code, once);
}

// Codes made of names, pieces of names and the characters around them, so that uses overlap,
// share blanks and follow one another; new names that are the old one with a class and, now and
// then, ones with blanks or other beginnings. The plain way fills each surrounding over the whole
// code in turn.
TEST(KBItemsRenameRoutine, RenamesAsFillingOneSurroundingAfterTheOther)
{
    const std::vector<std::string> pieces = {"Calc", "Cal", "alc", "C", " ", " ", "\n", "(",
                                             "=", "_", "x", "\t", "Calc_P"};
    const std::vector<std::string> oldNames = {"Calc", "C", "alc", "Calc Calc", ""};
    const std::vector<std::string> suffixes = {"_P", "_Calc", "_", "(", "=", "x", "_a b", "_\n", ""};
    const char* const surroundings[][2] = {{" ", "("}, {"\n", " "}, {"\n", "="}, {" ", " "}, {" ", "="}};
    RandomPick pick(17);
    for (int round = 0; round < 20000; ++round) {
        std::string code;
        for (size_t n = pick(16); n > 0; --n)
            code += pieces[pick(pieces.size())];
        const std::string& oldName = oldNames[pick(oldNames.size())];
        const std::string newName =
            pick(8) == 0 ? suffixes[pick(suffixes.size())] : oldName + suffixes[pick(suffixes.size())];
        std::string plain = code;
        bool found = false;
        for (const auto& s : surroundings) {
            const std::string before = s[0], after = s[1];
            found = found || code.find(before + oldName + after) != std::string::npos;
            plain = FilledByPositions(plain, before + oldName + after, before + newName + after);
        }
        ASSERT_EQ(CVBUtility::FindsRoutine(code, oldName), found)
            << "code \"" << code << "\", name \"" << oldName << "\"";
        std::string renamed = code;
        CVBUtility::RenameRoutine(renamed, oldName, newName);
        ASSERT_EQ(renamed, plain) << "code \"" << code << "\", \"" << oldName << "\" to \"" << newName << "\"";
    }
}

TEST(KBItemsFindResultStyle, LooksForAssignmentAfterFirstParenthesis)
{
    using Style = CKBItem::ResultStyle;
    struct Case {
        const char* behaviour;
        std::string code;
        Style expected;
    };
    const std::vector<Case> cases = {
        {"indented Set", "Function Calc(a)\n  Set Calc = obj\nEnd Function\n", Style::Object},
        {"Set in any case", "Function Calc(a)\n  SET Calc = obj\n", Style::Object},
        {"plain assignment", "Function Calc(a)\n  Calc = 1\nEnd Function\n", Style::Value},
        {"assignment without blanks", "Function Calc(a)\n  Calc=1\n", Style::Value},
        {"form feed skipped", "Function Calc(a)\n  Calc\f= 1\n", Style::Value},
        {"unindented Set joins the previous line", "Function Calc(a)\nSet Calc = obj\n",
         Style::Value},
        {"no assignment", "Function Calc(a)\n  x = 1\nEnd Function\n", Style::None},
        {"tab before '=' is not skipped", "Function Calc(a)\n  Calc\t= 1\n", Style::None},
        {"use before assignment is passed over", "Function Calc(a)\n  x = Calc + 1\n  Calc = x\n",
         Style::Value},
        {"assignment before the first '(' is not seen", "Calc = 1\nFunction Calc()\n", Style::None},
        {"name at position 0 ends the search", "Calc = 1\n", Style::None},
        {"no word boundaries", "Function Calc(a)\n  Set MyCalc = o\n", Style::Value},
        {"position 0 is never part of the word", "(set Calc = 1)", Style::Object},
    };
    for (const Case& c : cases)
        EXPECT_EQ(CKBItem::FindResultStyle("Calc", c.code), c.expected) << c.behaviour;
}

}  // namespace
