// A rule file in UTF-16, or in a Windows code page that it declares, is as valid as one in UTF-8:
// it converts to the same project on every platform.
#include <gtest/gtest.h>

#include <algorithm>
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

// A rule with text in its display name and its code, declared in ENCODING.
const std::string kCodePageRuleFile =
    "<?xml version=\"1.0\" encoding=\"ENCODING\"?>\n"
    "<KnowledgeBase name=\"Pumpen\">\n"
    "  <Rule name=\"R\" displayname=\"TEXT\" interactive=\"true\" secure=\"true\" casefixed=\"true\">"
    "<![CDATA[Public Function R() As Variant\n"
    "    R = \"TEXT\"\n"
    "End Function\n"
    "]]></Rule>\n"
    "</KnowledgeBase>\n";

std::string Filled(std::string text, const std::string& placeholder, const std::string& value)
{
    for (size_t at = 0; (at = text.find(placeholder, at)) != std::string::npos; at += value.size())
        text.replace(at, placeholder.size(), value);
    return text;
}

std::string WithEncoding(const std::string& name)
{
    return Filled(kRuleFile, "ENCODING", name);
}

// The project written in UTF-8 whatever the machine's code page, so that the bytes show the text read.
hostile::Outcome ConvertToUtf8(const hostile::Program& program)
{
    return program.Run({"--codepage=UTF-8", "rule.pxkbx", program.Target()});
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
    ASSERT_EQ(ConvertToUtf8(original).exitCode, 0);
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
        const hostile::Outcome outcome = ConvertToUtf8(program);
        EXPECT_EQ(outcome.exitCode, 0) << c.name << "\n" << outcome.err;
        hostile::ExpectNoSanitizerReport(outcome);
        EXPECT_EQ(Project(program), expected) << c.name;
    }
}

// Each name stands for the Windows code page, also where a stricter standard of that name exists:
// the text reads the same on both platforms, as Windows itself reads such a file.
TEST(AppHostileEncoding, CodePageRuleFilesConvertLikeTheirUtf8Twin)
{
    struct Case {
        const char* behaviour;
        const char* encoding;
        std::string text;   // UTF-8
        std::string bytes;  // the same text in the encoding
    };
    std::string longText, longBytes;
    for (int i = 0; i < 1500; ++i) {
        longText += "\u65E5\u672C\u8A9E C:\\temp \uFF76\uFF85";
        longBytes += "\x93\xFA\x96{\x8C\xEA C:\\temp \xB6\xC5";
    }
    const Case cases[] = {
        {"1252's own letters, which Latin-1 lacks", "windows-1252", "Gr\u00FC\u00DF" "e, 5 \u20AC \u201EMa\u00DF\u201C \u2013 ok",
         "Gr\xFC\xDF" "e, 5 \x80 \x84Ma\xDF\x93 \x96 ok"},
        {"a cp name", "cp1251", "\u041F\u0440\u0438\u0432\u0435\u0442", "\xCF\xF0\xE8\xE2\xE5\xF2"},
        {"Shift_JIS keeps the backslash, with half-width letters, across every piece the parser reads",
         "Shift_JIS", longText, longBytes},
        {"windows-31j with a letter only Windows' 932 has", "windows-31j", "\u2460", "\x87\x40"},
        {"gb2312 read as Windows' 936, which holds more", "gb2312", "\u4E2D\u6587 \u9555", "\xD6\xD0\xCE\xC4 \xE9" "F"},
        {"euc-kr read as Windows' 949", "euc-kr", "\uD55C\uAD6D\uC5B4 \uB620", "\xC7\xD1\xB1\xB9\xBE\xEE \x8C" "c"},
        {"big5 read as Windows' 950, with its euro sign", "big5", "\u4E2D\u6587 \u20AC", "\xA4\xA4\xA4\xE5 \xA3\xE1"},
    };
    for (const Case& c : cases) {
        hostile::Program original, twin;
        original.WriteRule("rule.pxkbx", Filled(Filled(kCodePageRuleFile, "ENCODING", "UTF-8"), "TEXT", c.text));
        twin.WriteRule("rule.pxkbx", Filled(Filled(kCodePageRuleFile, "ENCODING", c.encoding), "TEXT", c.bytes));
        ASSERT_EQ(ConvertToUtf8(original).exitCode, 0) << c.behaviour;
        const hostile::Outcome outcome = ConvertToUtf8(twin);
        EXPECT_EQ(outcome.exitCode, 0) << c.behaviour << "\n" << outcome.err;
        const auto expected = Project(original);
        ASSERT_EQ(expected.size(), 4u) << c.behaviour;
        EXPECT_NE(expected[2].second.find("R = \"" + c.text + "\""), std::string::npos) << c.behaviour;
        const auto converted = Project(twin);
        ASSERT_EQ(converted.size(), expected.size()) << c.behaviour;
        for (size_t i = 0; i < expected.size(); ++i) {
            const std::string &mine = converted[i].second, &theirs = expected[i].second;
            // Where they part, not the whole of a long text.
            const size_t at = std::mismatch(mine.begin(), mine.end(), theirs.begin(), theirs.end()).first - mine.begin();
            EXPECT_TRUE(mine == theirs) << c.behaviour << ": " << expected[i].first << " differs from byte " << at;
        }
    }
}
