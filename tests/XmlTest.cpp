#include <gtest/gtest.h>

#include "platform/FileSystem.h"
#include "xml/XmlDocument.h"
#include "TestSupport.h"

namespace {

struct NodeView {
    std::string name;
    std::string text;
};

std::vector<NodeView> ViewChildren(const CXmlNode& node)
{
    std::vector<NodeView> views;
    for (const CXmlNode& child : node.Children())
        views.push_back({child.Name(), child.Text()});
    return views;
}

bool operator==(const NodeView& a, const NodeView& b)
{
    return a.name == b.name && a.text == b.text;
}

void PrintTo(const NodeView& view, std::ostream* out)
{
    *out << view.name << " \"" << view.text << "\"";
}

// The root's children of a document that must load.
std::vector<NodeView> RootChildren(const std::string& xml)
{
    CXmlDocument document;
    EXPECT_TRUE(document.Parse(xml, "test.pxkbx")) << document.ErrorMessage();
    std::optional<CXmlNode> root = document.Root();
    return root ? ViewChildren(*root) : std::vector<NodeView>{};
}

TEST(XmlTest, ChildNodesHaveTheirNamesAndTexts)
{
    // Entities that stand for text, for elements and for a CDATA section.
    const std::string declared = "<!DOCTYPE r [<!ENTITY who \"Pump &amp; Co\"><!ENTITY b \"<b>in</b>\">"
                                 "<!ENTITY c \"<![CDATA[1]]>\">]>";
    struct Case {
        const char* behaviour;
        std::string body;
        std::vector<NodeView> children;
        std::string doctype = "";
    };
    const std::vector<Case> cases = {
        {"whitespace-only text goes, whitespace-only CDATA stays", "\n \t<a/>\r\n <![CDATA[ \n ]]>\n",
         {{"a", ""}, {"#cdata-section", " \n "}}},
        {"texts are not trimmed", "<a> x </a>  y  ", {{"a", " x "}, {"#text", "  y  "}}},
        {"element text joins text and CDATA below it, without comments",
         "<a>1<!--c--><b>2<?p x?></b><![CDATA[3]]></a>", {{"a", "123"}}},
        {"comment and processing instruction give their content, named so that no element matches",
         "<!-- note --><?GlobalCode data ?>", {{"#comment", " note "}, {"#processing-instruction", "data "}}},
        {"CDATA sections side by side stay apart", "<![CDATA[1]]><![CDATA[]]><![CDATA[2]]>x",
         {{"#cdata-section", "1"}, {"#cdata-section", ""}, {"#cdata-section", "2"}, {"#text", "x"}}},
        {"line ends become line feeds", "<![CDATA[a\r\nb\rc]]>", {{"#cdata-section", "a\nb\nc"}}},
        {"references resolve", "<a>&lt;&#x41;&#66;&amp;</a>", {{"a", "<AB&"}}},
        {"names keep their prefix and case",
         "<p:Demon xmlns:p=\"urn:p\"/><Demon xmlns=\"urn:d\"/><demon/>",
         {{"p:Demon", ""}, {"Demon", ""}, {"demon", ""}}},
        {"a declared entity joins the text around it", "x &who; y&who;", {{"#text", "x Pump & Co yPump & Co"}},
         declared},
        {"declared elements and CDATA sections are nodes where the entity stands", "&b;&c;&c;<a>&b;</a>",
         {{"b", "in"}, {"#cdata-section", "1"}, {"#cdata-section", "1"}, {"a", "in"}}, declared},
    };
    for (const Case& c : cases)
        EXPECT_EQ(RootChildren(c.doctype + "<r>" + c.body + "</r>"), c.children) << c.behaviour;
}

TEST(XmlTest, AttributesAreNormalisedAndMatchedByQualifiedName)
{
    CXmlDocument document;
    ASSERT_TRUE(document.Parse("<r xmlns:p=\"urn:p\" a=\"x\ty&#10;z\r\nw\" p:b=\"1\" e=\"\"/>", "t"));
    const CXmlNode root = *document.Root();
    std::string value = "unset";
    EXPECT_TRUE(root.GetAttribute("a", value));
    EXPECT_EQ(value, "x y\nz w");
    EXPECT_TRUE(root.GetAttribute("e", value));
    EXPECT_EQ(value, "");
    EXPECT_FALSE(root.GetAttribute("b", value));
    EXPECT_TRUE(root.GetAttribute("p:b", value));
    EXPECT_FALSE(root.GetAttribute("A", value));

    CXmlDocument declaring;
    ASSERT_TRUE(declaring.Parse("<!DOCTYPE r [<!ATTLIST r d CDATA \"x\">]><r/>", "t"));
    EXPECT_FALSE(declaring.Root()->GetAttribute("d", value)) << "a default of the declaration is not written";
}

TEST(XmlTest, InternalEntitiesResolve)
{
    const std::string xml = "<!DOCTYPE r [<!ENTITY who \"Pump &amp; Co\">]>\n"
                            "<r name=\"&who;\"><a>&who;</a></r>";
    CXmlDocument document;
    ASSERT_TRUE(document.Parse(xml, "t")) << document.ErrorMessage();
    std::string name;
    ASSERT_TRUE(document.Root()->GetAttribute("name", name));
    EXPECT_EQ(name, "Pump & Co");
    EXPECT_EQ(ViewChildren(*document.Root()), (std::vector<NodeView>{{"a", "Pump & Co"}}));
}

// Writes a file of the given name and bytes into folder; its path.
std::string WriteRule(const TempFolder& folder, const std::string& text, const std::string& name = "rules.pxkbx")
{
    WriteFileBytes(folder / name, text);
    return folder / name;
}

TEST(XmlTest, NothingIsLoadedFromOutsideTheFile)
{
    TempFolder folder;
    WriteRule(folder, "SECRET", "secret.txt");
    WriteRule(folder, "<!ENTITY s \"SECRET\">", "secret.dtd");
    struct Case {
        const char* behaviour;
        std::string xml;
    };
    const std::vector<Case> cases = {
        {"external entity in content", "<!DOCTYPE r [<!ENTITY x SYSTEM \"secret.txt\">]>\n<r name=\"&x;\"/>"},
        {"external entity by file URL",
         "<!DOCTYPE r [<!ENTITY x SYSTEM \"file://" + folder.Path() + "/secret.txt\">]>\n<r>&x;</r>"},
        {"external parameter entity", "<!DOCTYPE r [<!ENTITY % p SYSTEM \"secret.dtd\"> %p;]>\n<r>&s;</r>"},
        {"entity of the external DTD", "<!DOCTYPE r SYSTEM \"secret.dtd\">\n<r>&s;</r>"},
    };
    for (const Case& c : cases) {
        CXmlDocument document;
        testing::internal::CaptureStderr();
        EXPECT_FALSE(document.Load(WriteRule(folder, c.xml))) << c.behaviour;
        EXPECT_EQ(testing::internal::GetCapturedStderr(), "") << c.behaviour;
        EXPECT_FALSE(document.Root()) << c.behaviour;
        EXPECT_NE(document.ErrorMessage(), "") << c.behaviour;
        EXPECT_EQ(document.ErrorMessage().find("SECRET"), std::string::npos) << c.behaviour;
    }
    CXmlDocument unused;
    EXPECT_TRUE(unused.Load(WriteRule(folder, "<!DOCTYPE r SYSTEM \"secret.dtd\">\n<r/>")))
        << "a DTD that nothing needs is not a reason to fail";
}

TEST(XmlTest, TheDocumentsUrlIsItsPathWhereLibxmlCanReadIt)
{
    // A Windows path means a file to libxml2 only as a file URL; a Unix path is one as it stands.
    const bool windows = CFileSystem::PathSeparators().find('\\') != std::string_view::npos;
    const struct {
        std::string path, windowsUrl;
    } cases[] = {
        {"C:\\My Rules\\50%.pxkbx", "file:///C:/My%20Rules/50%25.pxkbx"},
        {"\\\\server\\share\\a.pxkbx", "//server/share/a.pxkbx"},
        {"/srv/my rules/a\\b.pxkbx", "/srv/my%20rules/a/b.pxkbx"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(CXmlDocument::UrlOf(c.path), windows ? c.windowsUrl : c.path) << c.path;
}

TEST(XmlTest, FailuresKeepTheParsersMessageAndLine)
{
    TempFolder folder;
    struct Case {
        const char* behaviour;
        std::string bytes;
        std::string message;
        long line;
    };
    const std::vector<Case> cases = {
        {"empty file", "", "Document is empty", 1},
        {"mismatched tag", "<r>\n\n<a></b></r>", "Opening and ending tag mismatch: a line 3 and b", 3},
        {"bad token on a line past 65535", "<r>" + std::string(70000, '\n') + "<&/></r>",
         "StartTag: invalid element name", 70001},
        {"undefined prefix", "<r>\n<p:a/></r>", "Namespace prefix p on a is not defined", 2},
        {"cut off in an element", "<r>\n<a>\n", "Premature end of data in tag a line 2", 3},
        {"attribute twice", "<r a=\"1\"\n a=\"2\"/>", "Attribute a redefined", 2},
        {"bytes not UTF-8", "<r>\n\xE9</r>",
         "Input is not proper UTF-8, indicate encoding ! Bytes: 0xE9 0x3C 0x2F 0x72", 2},
        {"byte not in the declared code page", "<?xml version=\"1.0\" encoding=\"windows-1252\"?>\n<r a=\"\x81\"/>",
         "input conversion failed due to input error, bytes 0x81 0x22 0x2F 0x3E", 0},
        {"encoding the parser cannot read, found as it starts", std::string("\0\0<\0\0\0r\0", 8),
         "encoding not supported UCS4 2143", 1},
        {"entity not declared", "<r>\n&u;</r>", "Entity 'u' not defined", 2},
        {"entity not declared, with an external part that is not read", "<!DOCTYPE r SYSTEM \"r.dtd\">\n<r>\n&u;</r>",
         "Entity 'u' not defined", 3},
        {"entities referring to each other", "<!DOCTYPE r [<!ENTITY a \"&b;\"><!ENTITY b \"&a;\">]>\n<r>&a;</r>",
         "Detected an entity reference loop", 1},
        {"text longer than the parser takes", "<r>\n" + std::string(10'000'001, 'x') + "</r>", "Text too big found", 1},
    };
    for (const Case& c : cases) {
        CXmlDocument document;
        testing::internal::CaptureStderr();
        EXPECT_FALSE(document.Load(WriteRule(folder, c.bytes))) << c.behaviour;
        EXPECT_EQ(testing::internal::GetCapturedStderr(), "") << c.behaviour;
        EXPECT_EQ(document.ErrorMessage(), c.message) << c.behaviour;
        EXPECT_EQ(document.ErrorLine(), c.line) << c.behaviour;
    }
    CXmlDocument missing;
    EXPECT_FALSE(missing.Load(folder / "none.pxkbx"));
    EXPECT_EQ(missing.ErrorMessage(), "cannot read " + folder / "none.pxkbx" + ": No such file or directory");
}

// Character data gives the line where it starts, CR LF counting as one line end; what an entity
// holds gives the line of its reference.
TEST(XmlTest, NodesHaveTheLinesWhereTheyStart)
{
    struct Case {
        const char* behaviour;
        std::string xml;
        std::vector<long> lines;
    };
    const std::vector<Case> cases = {
        {"lines past 65535",
         "<r>" + std::string(70000, '\n') + "<a/>x<!--c-->\n<![CDATA[\r\nClass A\n]]>\nlong\r\ntext</r>",
         {70001, 70001, 70001, 70002, 70004}},
        {"entities at line ends, declared over two lines",
         "<!DOCTYPE r [<!ENTITY t \"a\nb\">\n<!ENTITY e \"<x/>\">]>\n<r>&t;\n<y/>&e;\r\n&e;<z/>&t;\n<w/></r>",
         {4, 5, 5, 6, 6, 6, 7}},
    };
    for (const Case& c : cases) {
        CXmlDocument document;
        ASSERT_TRUE(document.Parse(c.xml, "t")) << c.behaviour << ": " << document.ErrorMessage();
        std::vector<long> lines;
        for (const CXmlNode& child : document.Root()->Children())
            lines.push_back(child.Line());
        EXPECT_EQ(lines, c.lines) << c.behaviour;
    }
}

}  // namespace
