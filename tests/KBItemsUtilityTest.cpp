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

TEST(KBItemsRenameRoutine, RenamesTheRoutinesNamesInCodeOnly)
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
        {"after a tab", "x\n\tCalc = 1\n", "x\n\tCalc_Pump = 1\n"},
        {"at the very first position", "Calc = 1\n", "Calc_Pump = 1\n"},
        {"before a line break, a comma, in parentheses", "y = Calc\nG Calc, (Calc)\n",
         "y = Calc_Pump\nG Calc_Pump, (Calc_Pump)\n"},
        {"in any letter case, bracketed, with a type suffix",
         "Public Function CALC$(a)\n  [calc] = a\n", "Public Function Calc_Pump$(a)\n  [Calc_Pump] = a\n"},
        {"part of a longer name", "x = MyCalc(1) + Calc_1\n", "x = MyCalc(1) + Calc_1\n"},
        {"not in strings", "MsgBox \"Calc = done; \"\"run Calc\"\" again\" & Calc\n",
         "MsgBox \"Calc = done; \"\"run Calc\"\" again\" & Calc_Pump\n"},
        {"not in comments, continued ones and Rem included",
         "x = 1 ' Calc = 2 _\n  Calc = 3\nRem Calc\ny: REM Calc\nCalc = 4\n",
         "x = 1 ' Calc = 2 _\n  Calc = 3\nRem Calc\ny: REM Calc\nCalc_Pump = 4\n"},
        {"not a member of another object nor a named argument",
         "x = o.Calc + rs!Calc + o. _\n Calc(1)\nF Calc:=1\n",
         "x = o.Calc + rs!Calc + o. _\n Calc(1)\nF Calc:=1\n"},
        {"after a line continuation", "x = 1 + _\n Calc\n", "x = 1 + _\n Calc_Pump\n"},
    };
    for (const Case& c : cases) {
        std::string code = c.code;
        CVBUtility::RenameRoutine(code, "Calc", "Calc_Pump");
        EXPECT_EQ(code, c.expected) << c.behaviour;
        EXPECT_EQ(CVBUtility::FindsRoutine(c.code, "Calc"), code != c.code) << c.behaviour;
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

// Codes in which the name stands only in the surroundings that plain text searches rename: there
// the renaming by name gives the same bytes as filling each surrounding over the whole code in turn.
TEST(KBItemsRenameRoutine, RenamesWhatTheSurroundingsRenamed)
{
    const std::vector<std::string> pieces = {" Calc(", "\nCalc ", "\nCalc=", " Calc ", " Calc=", "x",
                                             " ", "\n", "(", ")", "=", "1", "Calc_P", "\t", ","};
    const char* const surroundings[][2] = {{" ", "("}, {"\n", " "}, {"\n", "="}, {" ", " "}, {" ", "="}};
    RandomPick pick(17);
    for (int round = 0; round < 5000; ++round) {
        std::string code;
        for (size_t n = pick(12); n > 0; --n)
            code += pieces[pick(pieces.size())];
        std::string plain = code;
        for (const auto& s : surroundings) {
            const std::string before = s[0], after = s[1];
            plain = FilledByPositions(plain, before + "Calc" + after, before + "Calc_Pump" + after);
        }
        std::string renamed = code;
        CVBUtility::RenameRoutine(renamed, "Calc", "Calc_Pump");
        ASSERT_EQ(renamed, plain) << "code \"" << code << "\"";
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
        {"in any letter case", "Function CALC(a)\n  Set calc = o\n", Style::Object},
    };
    for (const Case& c : cases)
        EXPECT_EQ(CKBItem::FindResultStyle("Calc", c.code), c.expected) << c.behaviour;
}

}  // namespace
