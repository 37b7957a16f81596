#include <gtest/gtest.h>

#include "KBFileFixture.h"
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

TEST(KBFileXmlTest, ChildNodesHaveTheirNamesAndTexts)
{
    struct Case {
        const char* behaviour;
        std::string body;
        std::vector<NodeView> children;
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
    };
    for (const Case& c : cases)
        EXPECT_EQ(RootChildren("<r>" + c.body + "</r>"), c.children) << c.behaviour;
}

TEST(KBFileXmlTest, AttributesAreNormalisedAndMatchedByQualifiedName)
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
}

TEST(KBFileXmlTest, InternalEntitiesResolve)
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

TEST_F(KBFileTest, NothingIsLoadedFromOutsideTheFile)
{
    WriteRule("SECRET", "secret.txt");
    WriteRule("<!ENTITY s \"SECRET\">", "secret.dtd");
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
        EXPECT_FALSE(document.Load(WriteRule(c.xml))) << c.behaviour;
        EXPECT_EQ(testing::internal::GetCapturedStderr(), "") << c.behaviour;
        EXPECT_FALSE(document.Root()) << c.behaviour;
        EXPECT_NE(document.ErrorMessage(), "") << c.behaviour;
        EXPECT_EQ(document.ErrorMessage().find("SECRET"), std::string::npos) << c.behaviour;
    }
    CXmlDocument unused;
    EXPECT_TRUE(unused.Load(WriteRule("<!DOCTYPE r SYSTEM \"secret.dtd\">\n<r/>")))
        << "a DTD that nothing needs is not a reason to fail";
}

TEST_F(KBFileTest, FailuresKeepTheParsersMessageAndLine)
{
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
    };
    for (const Case& c : cases) {
        CXmlDocument document;
        testing::internal::CaptureStderr();
        EXPECT_FALSE(document.Load(WriteRule(c.bytes))) << c.behaviour;
        EXPECT_EQ(testing::internal::GetCapturedStderr(), "") << c.behaviour;
        EXPECT_EQ(document.ErrorMessage(), c.message) << c.behaviour;
        EXPECT_EQ(document.ErrorLine(), c.line) << c.behaviour;
    }
    CXmlDocument missing;
    EXPECT_FALSE(missing.Load(folder / "none.pxkbx"));
    EXPECT_EQ(missing.ErrorMessage(), "cannot read " + folder / "none.pxkbx" + ": No such file or directory");
}

// Every node below node, one line each: what it is, its line, and its name and attributes or its
// text.
std::string Dump(const CXmlNode& node, const std::string& indent = "")
{
    std::string dump = indent + std::string(node.KindWord()) + " " + node.Name() + " line " +
                       std::to_string(node.Line());
    std::string value;
    for (const char* attribute : {"name", "a"}) {
        if (node.GetAttribute(attribute, value))
            dump += std::string(" ") + attribute + "=\"" + value + "\"";
    }
    if (!node.IsElement())
        dump += " \"" + node.Text() + "\"";
    dump += "\n";
    for (const CXmlNode& child : node.Children())
        dump += Dump(child, indent + "  ");
    return dump;
}

// Documents of elements, attributes, text with references, comments, processing instructions and
// CDATA sections of every size, with line ends of every kind, some sections longer than the
// pieces the parser is handed and some documents broken: read in pieces, each gives the tree that
// pulled reading gives, or is refused as well.
TEST(KBFileXmlTest, ReadingInPiecesBuildsWhatPulledReadingBuilds)
{
    RandomPick pick(5);
    auto pieces = [&](const std::vector<std::string>& from, size_t most) {
        std::string text;
        for (size_t n = pick(most + 1); n > 0; --n)
            text += from[pick(from.size())];
        return text;
    };
    const std::vector<std::string> textPieces = {"x", " ", "\n", "\r\n", "\r", "&amp;", "&#13;", "\xC3\xA9", "]]"};
    // No lone CR in sections: pulled reading gives a section the line of its end, counting back
    // over line feeds, and cannot tell the ones that were lone CRs, which the parser does not count.
    const std::vector<std::string> sectionPieces = {"a", "\r\n", "\n", "]", "]]", "<![CDATA[", "\xE6\x97\xA5", " "};
    const std::vector<std::string> valuePieces = {"v", "&quot;", "\r\n", "\t", " "};
    std::function<std::string(int)> content = [&](int depth) {
        std::string xml;
        for (size_t n = pick(6); n > 0; --n) {
            switch (pick(6)) {
            case 0: xml += pieces(textPieces, 6); break;
            case 1: {
                // Now and then a section long enough to cross the pieces, line ends and all.
                const size_t most = pick(20) == 0 ? 80000 : 8;
                xml += "<![CDATA[" + pieces(sectionPieces, most) + "]]>";
                break;
            }
            case 2: xml += "<!--" + pieces({"c", "\r\n", "-x"}, 3) + "-->"; break;
            case 3: xml += "<?p " + pieces({"d", "\r\n"}, 3) + "?>"; break;
            default:
                xml += "<e name=\"" + pieces(valuePieces, 3) + "\" a=\"" + pieces(valuePieces, 3) + "\"";
                xml += depth > 3 || pick(4) == 0 ? "/>" : ">" + content(depth + 1) + "</e>";
            }
        }
        return xml;
    };
    for (int round = 0; round < 400; ++round) {
        std::string xml = pieces({"", "<?xml version=\"1.0\"?>", "\xEF\xBB\xBF", "\r\n"}, 1) +
                          "<r name=\"M\">" + content(0) + "</r>" + pieces({"\n", "<!--e-->"}, 2);
        if (pick(8) == 0) {
            xml.resize(pick(xml.size()));
        } else if (pick(8) == 0) {
            // Not between CR and LF, which would leave a lone CR in a section.
            size_t at = pick(xml.size());
            at += at > 0 && xml[at - 1] == '\r';
            xml.insert(at, pieces({"<", "]]>", "&", "\x80", "<![CDATA["}, 1));
        }
        CXmlDocument inPieces, pulled;
        const bool loaded = inPieces.Parse(xml, "t.pxkbx", CXmlDocument::Reading::InPieces);
        ASSERT_EQ(loaded, pulled.Parse(xml, "t.pxkbx", CXmlDocument::Reading::Pulled))
            << "round " << round << ": " << inPieces.ErrorMessage() << " / " << pulled.ErrorMessage();
        if (loaded) {
            ASSERT_EQ(Dump(*inPieces.Root()), Dump(*pulled.Root())) << "round " << round;
        }
    }
}

TEST(KBFileXmlTest, LinesPast65535StayRight)
{
    CXmlDocument document;
    // Character data gives the line where it starts, CR LF counting as one line end.
    ASSERT_TRUE(document.Parse("<r>" + std::string(70000, '\n') +
                                   "<a/>x<!--c-->\n<![CDATA[\r\nClass A\n]]>\nlong\r\ntext</r>",
                               "t"));
    std::vector<long> lines;
    for (const CXmlNode& child : document.Root()->Children())
        lines.push_back(child.Line());
    EXPECT_EQ(lines, (std::vector<long>{70001, 70001, 70001, 70002, 70004}));
}

}  // namespace
