// A rule file in UTF-16 is as valid as one in UTF-8: it converts to the same project.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "TestSupport.h"
#include "hostile/HostileProgram.h"

namespace {

// Non-ASCII text in names and code, one character outside the Basic Multilingual Plane.
const std::string kRuleFile =
    "<?xml version=\"1.0\" encoding=\"ENCODING\"?>\n"
    "<KnowledgeBase name=\"Pumpen\">\n"
    "  <GlobalCode><![CDATA[\n"
    "' Grüße aus der Anlage \xF0\x9F\x98\x80\n"
    "Class Kühler\n"
    "Public Temperatur As Double\n"
    "End Class\n"
    "]]></GlobalCode>\n"
    "  <Rule name=\"Prüfe\" displayname=\"Prüfe Grenzwerte &amp; Drücke\" interactive=\"true\" secure=\"true\" "
    "casefixed=\"true\"><![CDATA[Public Function Prüfe(Wert As Variant) As Variant\n"
    "    Prüfe = \"Maß: \" & Wert\n"
    "End Function\n"
    "]]></Rule>\n"
    "</KnowledgeBase>\n";

// UTF-8 to UTF-16 code units, with surrogate pairs; the input is known to be valid.
std::u16string Utf16(const std::string& text)
{
    std::u16string units;
    for (size_t i = 0; i < text.size();) {
        const unsigned char lead = static_cast<unsigned char>(text[i]);
        const int length = lead < 0x80 ? 1 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : 4;
        char32_t code = length == 1 ? lead : lead & (0xFF >> (length + 1));
        for (int k = 1; k < length; ++k)
            code = (code << 6) | (static_cast<unsigned char>(text[i + k]) & 0x3F);
        i += length;
        if (code >= 0x10000) {
            code -= 0x10000;
            units += static_cast<char16_t>(0xD800 + (code >> 10));
            units += static_cast<char16_t>(0xDC00 + (code & 0x3FF));
        } else {
            units += static_cast<char16_t>(code);
        }
    }
    return units;
}

std::string Bytes(const std::u16string& units, bool bigEndian)
{
    std::string bytes;
    for (char16_t unit : units) {
        const char high = static_cast<char>(unit >> 8), low = static_cast<char>(unit & 0xFF);
        bytes += bigEndian ? high : low;
        bytes += bigEndian ? low : high;
    }
    return bytes;
}

std::string WithEncoding(const std::string& name)
{
    std::string text = kRuleFile;
    text.replace(text.find("ENCODING"), 8, name);
    return text;
}

// The generated project: each file's path and bytes.
std::vector<std::pair<std::string, std::string>> Project(const hostile::Program& program)
{
    std::vector<std::pair<std::string, std::string>> files;
    for (const std::string& name : ListTree(program.Target()))
        files.emplace_back(name, ReadFileBytes(program.Target() + "/" + name));
    return files;
}

}  // namespace

TEST(AppHostileEncoding, Utf16RuleFilesConvertLikeTheirUtf8Original)
{
    hostile::Program original;
    original.WriteRule("rule.pxkbx", WithEncoding("UTF-8"));
    ASSERT_EQ(original.Convert("rule.pxkbx").exitCode, 0);
    const auto expected = Project(original);
    std::vector<std::string> names;
    for (const auto& [name, bytes] : expected)
        names.push_back(name);
    ASSERT_EQ(names, (std::vector<std::string>{"Pumpen/DataServiceImpl.cls", "Pumpen/GlobalCode.bas",
                                               "Pumpen/KBRoutine.bas", "Pumpen/Kühler.cls",
                                               "Pumpen/Pumpen.vbp"}));
    // The comment above the class heads its body.
    EXPECT_NE(expected[3].second.find("' Grüße aus der Anlage \xF0\x9F\x98\x80"), std::string::npos);
    EXPECT_NE(expected[2].second.find("\"Maß: \" & Wert"), std::string::npos) << expected[2].second;

    const std::u16string units = Utf16(WithEncoding("UTF-16"));
    struct Case {
        const char* name;
        std::string bytes;
    };
    for (const Case& c : std::vector<Case>{{"little-endian with BOM", "\xFF\xFE" + Bytes(units, false)},
                                            {"big-endian with BOM", "\xFE\xFF" + Bytes(units, true)},
                                            {"little-endian, no BOM", Bytes(units, false)}}) {
        hostile::Program program;
        program.WriteRule("rule.pxkbx", c.bytes);
        const hostile::Outcome outcome = program.Convert("rule.pxkbx");
        EXPECT_EQ(outcome.exitCode, 0) << c.name << "\n" << outcome.err;
        hostile::ExpectNoSanitizerReport(outcome);
        EXPECT_EQ(Project(program), expected) << c.name;
    }
}
