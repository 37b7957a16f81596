#include <gtest/gtest.h>

#include "KBFileFixture.h"
#include "kbfile/KBItemsConvertor.h"
#include "kbfile/KBReaderError.h"
#include "xml/XmlDocument.h"

namespace {

enum class Result { True, False, Raises };

const std::string kMethod =
    "<Method name=\"Calc\" displayname=\"Calculate\" interactive=\"true\" secure=\"false\" "
    "casefixed=\"true\"><![CDATA[Function Calc(Object)\nEnd Function\n]]></Method>";
const std::string kEvent = "<Event name=\"Changed\"/>";
const std::string kDemon =
    "<Demon name=\"Watch\" casefixed=\"true\"><Classlist><c name=\"Pump\"/></Classlist></Demon>";
const std::string kGlobalCode = "<GlobalCode><![CDATA[Public Limit\n]]></GlobalCode>";
const std::string kRule = "<Rule name=\"Check\" displayname=\"Check\" interactive=\"false\" "
                          "secure=\"false\" casefixed=\"false\"><![CDATA[Function Check()\n]]></Rule>";
const std::string kSort = "<Sort name=\"ByDate\" displayname=\"By date\"><KeyList/></Sort>";

std::string Success(const std::string& kind)
{
    return "Parse " + kind + " Node ----> Success!";
}

std::string Failure(const std::string& kind)
{
    return "Parse " + kind + " Node ----> Fail!";
}

std::string InClass(const std::string& className, const std::string& body)
{
    return "<Classblock name=\"" + className + "\">" + body + "</Classblock>";
}

class KBFileReaderTest : public KBFileTest {
protected:
    // Loads a rule file and reads its items, as the driver does.
    Result LoadAndRead(CKBItemsConvertor& reader, const std::string& xml)
    {
        if (!reader.LoadModule(WriteRule(xml), folder.Path())) {
            ADD_FAILURE() << "did not load: " << reader.FailureReason();
            return Result::False;
        }
        try {
            return reader.ReadItems() ? Result::True : Result::False;
        } catch (const CKBReaderError& error) {
            EXPECT_EQ(error.Status(), CKBReaderError::kInvalidPointer);
            EXPECT_EQ(error.what(), reader.FailureReason());
            EXPECT_EQ(error.Line(), reader.FailureLine());
            return Result::Raises;
        }
    }

    std::string ProjectFile(const std::string& name) const
    {
        return ReadFileBytes(folder / "Plant" + "/" + name);
    }
};

TEST_F(KBFileReaderTest, StepLinesFollowTheElementsRead)
{
    struct Case {
        const char* behaviour;
        std::string body;  // the root's content; its first line is line 2 of the file
        Result result;
        std::vector<std::string> steps;
        std::string reason;
        long line;
    };
    const std::vector<Case> cases = {
        {"unrecognised children only",
         "text<!--c--><?GlobalCode x?><demon/><ClassBlock name=\"P\">" + kMethod + "</ClassBlock>" + kMethod,
         Result::True, {}, "", 0},
        {"each kind in document order",
         kGlobalCode + InClass("Pump", kMethod + kEvent) + kDemon + kSort + kRule +
             "<Filter name=\"F\" displayname=\"F\"/>",
         Result::True,
         {Success("GlobalCode"), Success("Method"), Success("Event"), Success("Demon"), Success("Sort"),
          Success("Rule"), Success("Filter")}, "", 0},
        {"two GlobalCode elements", kGlobalCode + kGlobalCode, Result::True,
         {Success("GlobalCode"), Success("GlobalCode")}, "", 0},
        {"Classblock without name as third child",
         kRule + kSort + "\n<Classblock>" + kMethod + "</Classblock>" + kDemon, Result::False,
         {Success("Rule"), Success("Sort")}, "a Classblock has no attribute 'name'", 4},
        {"comment and unknown element before a Method",
         InClass("Pump", "<!--c--><Other/>" + kMethod), Result::True, {Success("Method")}, "", 0},
        {"Method without secure; nothing after it is read",
         InClass("Pump", "\n<Method name=\"Calc\" displayname=\"\" interactive=\"true\" casefixed=\"x\"/>") +
             kRule,
         Result::Raises, {Failure("Method")}, "Method 'Calc' in class 'Pump' has no attribute 'secure'", 3},
        {"Event without name", InClass("Pump", "<Event/>"), Result::Raises, {Failure("Event")},
         "Event in class 'Pump' has no attribute 'name'", 2},
        {"Classlist holding a comment",
         kGlobalCode + InClass("Pump", "<Method name=\"Calc\" displayname=\"\" interactive=\"\" secure=\"\" "
                                       "casefixed=\"\"><Classlist>\n\n<!--x--></Classlist></Method>"),
         Result::Raises, {Success("GlobalCode"), Failure("Method")},
         "Classlist entry is a comment, not an element with 'name'", 5},
        {"KeyList entry without comparison_op",
         "<Sort name=\"S\" displayname=\"\"><KeyList><k comparison_op=\"1\"/><k op=\"2\"/></KeyList></Sort>",
         Result::Raises, {Failure("Sort")}, "KeyList entry <k> has no attribute 'comparison_op'", 2},
        {"GlobalCode holding only white space", "\n<GlobalCode>\n  </GlobalCode>", Result::Raises,
         {Failure("GlobalCode")}, "GlobalCode has no child node", 3},
        {"Rule without child node",
         "<Rule name=\"Check\" displayname=\"\" interactive=\"\" secure=\"\" casefixed=\"\"/>",
         Result::Raises, {Failure("Rule")}, "Rule 'Check' has no child node", 2},
        {"Demon without Classlist", "<Demon name=\"Watch\" casefixed=\"true\"/>", Result::Raises,
         {Failure("Demon")}, "Demon 'Watch' lists no class in a Classlist", 2},
        {"Demon with an empty Classlist",
         "<Demon name=\"Watch\" casefixed=\"true\"><Classlist/><PatternCode>p</PatternCode></Demon>",
         Result::Raises, {Failure("Demon")}, "Demon 'Watch' lists no class in a Classlist", 2},
        {"Demon with an empty ActionCode",
         "<Demon name=\"Watch\" casefixed=\"true\"><Classlist><c name=\"P\"/></Classlist>\n<ActionCode/></Demon>",
         Result::Raises, {Failure("Demon")}, "ActionCode in Demon 'Watch' has no child node", 3},
    };
    for (const Case& c : cases) {
        CLog::Restart(folder.Path() + "/");
        CKBItemsConvertor reader;
        EXPECT_EQ(LoadAndRead(reader, "<kb name=\"Plant\">\n" + c.body + "</kb>"), c.result) << c.behaviour;
        EXPECT_EQ(StepLines(), c.steps) << c.behaviour;
        EXPECT_EQ(reader.FailureReason(), c.reason) << c.behaviour;
        EXPECT_EQ(reader.FailureLine(), c.line) << c.behaviour;
    }
}

TEST_F(KBFileReaderTest, LoadFailsWithoutAStepLine)
{
    struct Case {
        const char* behaviour;
        std::string xml;
        std::string reason;
        long line;
    };
    const std::vector<Case> cases = {
        {"not well-formed", "<kb name=\"Plant\">\n<Rule></kb>", "Opening and ending tag mismatch: Rule line 2 and kb", 2},
        {"root without name", "<!-- module -->\n<kb Name=\"Plant\">" + kGlobalCode + "</kb>",
         "the root element has no attribute 'name'", 2},
        {"external entity", "<!DOCTYPE kb [<!ENTITY x SYSTEM \"other.pxkbx\">]>\n<kb name=\"Plant\">&x;</kb>",
         "failed to load external entity \"" + CXmlDocument::UrlOf(folder.Path()) + "/other.pxkbx\"", 2},
    };
    WriteRule("Plant", "other.pxkbx");
    for (const Case& c : cases) {
        CLog::Restart(folder.Path() + "/");
        CKBItemsConvertor reader;
        EXPECT_FALSE(reader.LoadModule(WriteRule(c.xml), folder.Path())) << c.behaviour;
        EXPECT_EQ(reader.FailureReason(), c.reason) << c.behaviour;
        EXPECT_EQ(reader.FailureLine(), c.line) << c.behaviour;
        EXPECT_THROW(reader.ReadItems(), CKBReaderError) << c.behaviour << ": no document is held";
        EXPECT_EQ(StepLines(), std::vector<std::string>{}) << c.behaviour;
    }
}

TEST_F(KBFileReaderTest, ValuesReachTheProject)
{
    const std::string xml =
        "<!DOCTYPE AnyRoot [<!ENTITY co \"&amp; Co\">]>\n"
        "<AnyRoot name=\"Plant\">\n"
        "  <Method name=\"Stray\" displayname=\"\" interactive=\"\" secure=\"\" casefixed=\"\">s</Method>\n"
        "  <Classblock name=\"Order\">\n"
        "    <Method name=\"Total\" displayname=\"Order &co;\" interactive=\"false\" secure=\"true\" casefixed=\"True\">\n"
        "      <Classlist><c name=\"Customer\"/></Classlist>\n"
        "      <ClassList><c name=\"Ignored\"/></ClassList>\n"
        "      <![CDATA[Function Total(Object)\r\n  Total = 1\r\nEnd Function\r\n]]>\n"
        "      <Classlist><c name=\"Invoice\"/></Classlist>\n"
        "    </Method>\n"
        "  </Classblock>\n"
        "  <Rule name=\"Check\" displayname=\"Check\" interactive=\"true\" secure=\"false\" casefixed=\"false\">"
        "<![CDATA[Function Check()\nEnd Function\n]]><!-- not code --></Rule>\n"
        "</AnyRoot>\n";
    CKBItemsConvertor reader;
    ASSERT_EQ(LoadAndRead(reader, xml), Result::True);
    ASSERT_TRUE(reader.BuildProject()) << reader.FailureReason();

    const std::string service = ProjectFile("DataServiceImpl.cls");
    EXPECT_NE(service.find(WithCrLf("  Dim array_TotalOrder(3) As Variant\n"
                                    "  array_TotalOrder(0) = \"Order\"\n"
                                    "  array_TotalOrder(1) = \"Customer\"\n"
                                    "  array_TotalOrder(2) = \"Invoice\"\n"
                                    "  Registrar.AddMethod 1, \"Total\", array_TotalOrder, \"Order & Co\", "
                                    "\"\",false, true, false\n")),
              std::string::npos);
    EXPECT_NE(service.find("Registrar.AddRule 1, \"Check\", \"Check\", \"\",true, false, false"), std::string::npos);
    EXPECT_EQ(service.find("Stray"), std::string::npos);
    const std::string routines = ProjectFile("KBRoutine.bas");
    EXPECT_NE(routines.find(WithCrLf("Function Total_Order(Object)\n  Total_Order = 1\nEnd Function\n")),
              std::string::npos);
    EXPECT_NE(routines.find(WithCrLf("Function Check()\nEnd Function\n")), std::string::npos);
    EXPECT_EQ(routines.find("not code"), std::string::npos);
    EXPECT_NE(ProjectFile("GlobalCode.bas").size(), 0u);
}

TEST_F(KBFileReaderTest, SideBySideCdataSectionsAreNodesOfTheirOwn)
{
    const std::string two = "<![CDATA[Dim first\n]]><![CDATA[Dim second\n]]>";
    const std::string flags = "interactive=\"\" secure=\"\" casefixed=\"\"";
    const std::string classlist = "<Classlist><c name=\"P\"/></Classlist>";
    struct Case {
        const char* element;
        std::string body;
        std::string code;  // the section that reaches the project
    };
    const std::vector<Case> cases = {
        {"GlobalCode", "<GlobalCode>" + two + "</GlobalCode>", "Dim first"},
        {"Rule", "<Rule name=\"R\" displayname=\"\" " + flags + ">" + two + "</Rule>", "Dim first"},
        {"PatternCode", "<Demon name=\"D\" casefixed=\"\">" + classlist + "<PatternCode>" + two +
                            "</PatternCode></Demon>", "Dim first"},
        {"ActionCode", "<Demon name=\"D\" casefixed=\"\">" + classlist + "<ActionCode>" + two +
                           "</ActionCode></Demon>", "Dim first"},
        {"Method", InClass("P", "<Method name=\"M\" displayname=\"\" " + flags + ">" + two + "</Method>"),
         "Dim second"},
        {"Event", InClass("P", "<Event name=\"E\">" + two + "</Event>"), "Dim second"},
        {"Filter", "<Filter name=\"F\" displayname=\"\">" + two + "</Filter>", "Dim second"},
        {"Sort", "<Sort name=\"S\" displayname=\"\">" + two + "<KeyList/></Sort>", "Dim second"},
    };
    for (const Case& c : cases) {
        TempFolder target;
        CKBItemsConvertor reader;
        ASSERT_TRUE(reader.LoadModule(WriteRule("<kb name=\"Plant\">" + c.body + "</kb>"), target.Path()));
        ASSERT_TRUE(reader.ReadItems()) << c.element;
        ASSERT_TRUE(reader.BuildProject()) << c.element << ": " << reader.FailureReason();
        std::string project;
        for (const std::string& file : ListTree(target.Path()))
            project += ReadFileBytes(target / file);
        const std::string other = c.code == "Dim first" ? "Dim second" : "Dim first";
        EXPECT_NE(project.find(c.code + "\r\n"), std::string::npos) << c.element;
        EXPECT_EQ(project.find(other), std::string::npos) << c.element;
    }
}

TEST_F(KBFileReaderTest, Utf16RuleFileConverts)
{
    const std::u16string text = u"\uFEFF<?xml version=\"1.0\" encoding=\"UTF-16\"?>\r\n"
                                u"<kb name=\"Gr\u00FC\u00DFe\"><Rule name=\"R\" displayname=\"\u00C4\" "
                                u"interactive=\"\" secure=\"\" casefixed=\"\">x</Rule></kb>";
    std::string bytes;
    for (char16_t unit : text) {
        bytes += static_cast<char>(unit & 0xFF);
        bytes += static_cast<char>(unit >> 8);
    }
    CKBItemsConvertor reader;
    ASSERT_EQ(LoadAndRead(reader, bytes), Result::True);
    ASSERT_TRUE(reader.BuildProject()) << reader.FailureReason();
    const std::string service = ReadFileBytes(folder / "Gr\xC3\xBC\xC3\x9F" "e/DataServiceImpl.cls");
    EXPECT_NE(service.find("Registrar.AddRule 1, \"R\", \"\xC3\x84\""), std::string::npos);
}

TEST_F(KBFileReaderTest, BuildFailureKeepsTheBuildersReason)
{
    CKBItemsConvertor reader;
    ASSERT_EQ(LoadAndRead(reader, "<kb name=\"\"/>"), Result::True);
    EXPECT_FALSE(reader.BuildProject());
    EXPECT_EQ(reader.FailureReason(), "unsafe module name '': it is empty");
}

}  // namespace
