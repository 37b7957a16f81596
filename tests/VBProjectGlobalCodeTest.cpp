#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "vbproject/GlobalCode.h"

namespace {

struct SplitCase {
    const char* behaviour;
    std::string text;
    std::string modulePart;
    std::vector<std::string> names;
    std::vector<std::string> bodies;
};

void ExpectSplit(const SplitCase& c)
{
    SCOPED_TRACE(c.behaviour);
    CGlobalCode code(c.text);
    EXPECT_TRUE(code.Split());
    std::string modulePart;
    EXPECT_EQ(code.GetModuleCode(modulePart), !c.modulePart.empty());
    EXPECT_EQ(modulePart, c.modulePart);
    std::vector<std::string> names;
    std::vector<std::string> bodies;
    EXPECT_EQ(code.GetClassNames(names), !c.names.empty());
    EXPECT_EQ(code.GetClassBodies(bodies), !c.bodies.empty());
    EXPECT_EQ(names, c.names);
    EXPECT_EQ(bodies, c.bodies);
}

} // namespace

TEST(VBProjectGlobalCode, NormalisesModuleLines)
{
    const std::string longLine = "x = \"" + std::string(300, 'a') + "\" & obj.Name() & \"" +
                                 std::string(40, 'b') + "\"";
    const std::string longLineNormalised =
        "x = \"" + std::string(300, 'a') + "\" & obj.Name & \"" + std::string(40, 'b') + "\"";
    const SplitCase cases[] = {
        {"one line", "Dim x As Long\n", "Dim x As Long\n", {}, {}},
        {"text after the last line feed is not read", "Dim x As Long", "", {}, {}},
        {"indent cut, private made public, () kept without a dot",
         "  \t Private Function F() As Long\n", "Public Function F() As Long\n", {}, {}},
        {"() dropped on a line with a dot", "x = obj.Value()\n", "x = obj.Value\n", {}, {}},
        {"strings and comments stay as written",
         "Private Names() As String ' see a.txt, Private\nPrivate Const B = \"Private. x.y()\"\n",
         "Public Names() As String ' see a.txt, Private\nPublic Const B = \"Private. x.y()\"\n", {}, {}},
        {"a comment continued by \" _\" stays", "Dim a ' a.b() _\n  Private b()\n",
         "Dim a ' a.b() _\nPrivate b()\n", {}, {}},
        {"() dropped only from the empty list of a member",
         "v = Array() + o.Count() + o.Items().Count + o.b(()) + o.c ()\nWith o: .Refresh(): End With\n",
         "v = Array() + o.Count + o.Items.Count + o.b(()) + o.c \nWith o: .Refresh: End With\n", {}, {}},
        {"() of declarations kept on a line with a dot",
         "Private Function F(a() As String) As Lib.T() ' a.b\nReDim q(): Static s(): x = o.P()\n",
         "Public Function F(a() As String) As Lib.T() ' a.b\nReDim q(): Static s(): x = o.P\n", {}, {}},
        {"every Private keyword of the code made public", "private x As Long: PRIVATE y As Long\n",
         "Public x As Long: Public y As Long\n", {}, {}},
        {"a class keeps Private what it takes only so",
         "Class Pump\nPrivate Declare Function F Lib \"k\" () As Long\nPrivate Const C = 1\n"
         "Private s As String * 10\nPrivate a() As Long, b As Long\nPrivate Type T\nPrivate Sub S()\n"
         "Private Enum E\nPrivate r As Double: Private Const D = 2\nEnd Class\n",
         "", {"Pump"},
         {"\nPrivate Declare Function F Lib \"k\" () As Long\nPrivate Const C = 1\n"
          "Private s As String * 10\nPrivate a() As Long, b As Long\nPrivate Type T\nPublic Sub S()\n"
          "Public Enum E\nPublic r As Double: Private Const D = 2\n"}},
        {"PRIVATE in capitals stays", "PRIVATE y As Long\n", "PRIVATE y As Long\n", {}, {}},
        {"private not at the start stays", "Dim z ' private copy\n", "Dim z ' private copy\n", {},
         {}},
        {"Private without a blank stays", "Private\tq\n", "Private\tq\n", {}, {}},
        {"empty lines are module lines", "\n  \nDim v\n", "\n\nDim v\n", {}, {}},
        {"comments before a module line end in an empty line", "'first\n'second\nDim v\n",
         "'first\n'second\n\nDim v\n", {}, {}},
        {"trailing comments are dropped", "Dim a\n'trailing\n", "Dim a\n", {}, {}},
        {"End Class outside a block is module code", "End Class\n", "End Class\n", {}, {}},
        {"line over 300 characters kept whole", longLine + "\n", longLineNormalised + "\n", {}, {}},
    };
    for (const SplitCase& c : cases)
        ExpectSplit(c);
}

TEST(VBProjectGlobalCode, CutsOutClassBlocks)
{
    const SplitCase cases[] = {
        {"comments before a block head its body",
         "'pump class\nClass Pump\nPublic Rate As Double\nEnd Class\n", "", {"Pump"},
         {"'pump class\n\nPublic Rate As Double\n"}},
        {"a block without comments begins with an empty line", "Class Pump\n  Dim r\nEnd Class\n",
         "", {"Pump"}, {"\nDim r\n"}},
        {"start and end in any letter case; comments inside are class lines",
         "class Valve\n'note\nEnd class\n", "", {"Valve"}, {"\n'note\n"}},
        {"END CLASS with a comment after it closes", "CLASS Tank\nDim t\nEND CLASS ' done\n", "",
         {"Tank"}, {"\nDim t\n"}},
        {"the name is the last word", "Class Pump 'tank\nEnd Class\nClass   Gate  \nEnd Class\n",
         "", {"'tank", "Gate"}, {"\n", "\n"}},
        {"Class alone names the class Class", "Class \nEnd Class\n", "", {"Class"}, {"\n"}},
        {"Class followed by a tab is module code", "Class\tPump\nEnd Class\n",
         "Class\tPump\nEnd Class\n", {}, {}},
        {"an open block at the end is dropped with its comments", "Dim a\n'c\nClass Pump\nDim r\n",
         "Dim a\n", {}, {}},
        {"blocks in text order, module lines around them",
         "Dim a\nClass One\nDim x\nEnd Class\nDim b\n'two\nClass Two\nPrivate y\nEnd Class\nDim c\n",
         "Dim a\nDim b\nDim c\n", {"One", "Two"}, {"\nDim x\n", "'two\n\nPublic y\n"}},
        {"a nested Class line is a class line", "Class A\nClass B\nEnd Class\nEnd Class\n",
         "End Class\n", {"A"}, {"\nClass B\n"}},
        {"carriage returns stay at the ends of the lines",
         "'c\r\nClass Pump\r\n  Dim r\r\nEnd Class\r\nDim m\r\n", "Dim m\r\n", {"Pump"},
         {"'c\r\n\nDim r\r\n"}},
    };
    for (const SplitCase& c : cases)
        ExpectSplit(c);
}

TEST(VBProjectGlobalCode, ResultsOfTheFirstSplitAreFinal)
{
    CGlobalCode code("Dim a\nClass P\nDim r\nEnd Class\n");
    code.Split();
    code.Split();
    std::string modulePart;
    std::vector<std::string> names;
    EXPECT_TRUE(code.GetModuleCode(modulePart));
    EXPECT_EQ(modulePart, "Dim a\n");
    EXPECT_TRUE(code.GetClassNames(names));
    EXPECT_EQ(names, std::vector<std::string>{"P"});
}

TEST(VBProjectGlobalCode, EmptyResultsLeaveTheOutputAlone)
{
    CGlobalCode code("'only a comment\n");
    code.Split();
    std::string modulePart = "kept";
    std::vector<std::string> names = {"kept"};
    EXPECT_FALSE(code.GetModuleCode(modulePart));
    EXPECT_FALSE(code.GetClassNames(names));
    EXPECT_EQ(modulePart, "kept");
    EXPECT_EQ(names, std::vector<std::string>{"kept"});
}
