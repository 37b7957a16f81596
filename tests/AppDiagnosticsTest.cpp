#include <gtest/gtest.h>

#include <optional>

#include "TestSupport.h"
#include "app/ConvertHelper.h"
#include "hostile/HostileProgram.h"
#include "kbfile/KBItemsConvertor.h"
#include "log/Log.h"
#include "xml/XmlDocument.h"

using hostile::ExpectCleanFailure;
using hostile::Program;

namespace {

struct Case {
    const char* name;
    std::string ruleFile;
    // What follows "<rule path>" on the error line.
    std::string where;
};

}  // namespace

// Each failed file gets one compiler-style line on standard error and a note naming its log,
// before the summary; the log ends with the same line.
TEST(AppDiagnostics, EveryFailureNamesItsReasonAndLine)
{
    Program program;
    const Case cases[] = {
        {"not-well-formed", "<Rules name=\"P\">\n<Rule a=\"1\" a=\"2\"/>\n</Rules>\n",
         ":2: error: Attribute a redefined"},
        {"empty", "", ":1: error: Document is empty"},
        {"external-entity",
         "<!DOCTYPE R [<!ENTITY x SYSTEM \"hostname\">]>\n<R name=\"P\">\n<GlobalCode>&x;</GlobalCode>\n</R>\n",
         ":3: error: failed to load external entity \"" + CXmlDocument::UrlOf(program.Work("hostname")) + "\""},
        {"no-module-name", "<Rules>\n</Rules>\n", ":1: error: the root element has no attribute 'name'"},
        {"classblock-without-name", "<Rules name=\"P\">\n\n<Classblock/>\n</Rules>\n",
         ":3: error: a Classblock has no attribute 'name'"},
        {"method-without-secure",
         "<Rules name=\"P\">\n<Classblock name=\"Pump\">\n<Method name=\"Calc\" displayname=\"c\" "
         "interactive=\"true\" casefixed=\"true\"/>\n</Classblock>\n</Rules>\n",
         ":3: error: Method 'Calc' in class 'Pump' has no attribute 'secure'"},
        {"classlist-comment",
         "<Rules name=\"P\">\n<Filter name=\"F\" displayname=\"f\">\n<Classlist><!-- c --></Classlist>\n</Filter>\n</Rules>\n",
         ":3: error: Classlist entry is a comment, not an element with 'name'"},
        {"unsafe-module-name", "<Rules name=\"../x\"/>\n", ": error: unsafe module name '../x': it holds a path separator"},
        {"bytes-not-utf-8", "<R name=\"caf\xe9\"/>\n",
         ":1: error: Input is not proper UTF-8, indicate encoding ! Bytes: 0xE9 0x22 0x2F 0x3E"},
        // Found as the parser starts, where libxml2 would print its own lines first.
        {"encoding-not-supported", std::string("\0\0<\0\0\0R\0", 8), ":1: error: encoding not supported UCS4 2143"},
        {"byte-not-in-the-declared-code-page",
         "<?xml version=\"1.0\" encoding=\"windows-1252\"?>\n<R name=\"P\">\n<Rule name=\"a\x81\"/></R>\n",
         ": error: input conversion failed due to input error, bytes 0x81 0x22 0x2F 0x3E"},
        {"double-byte-character-cut-off", "<?xml version=\"1.0\" encoding=\"Shift_JIS\"?>\n<R name=\"\x93\"/>\n",
         ": error: input conversion failed due to input error, bytes 0x93 0x22 0x2F 0x3E"},
    };
    for (const Case& c : cases) {
        const std::string rule = std::string(c.name) + ".pxkbx";
        program.WriteRule(rule, c.ruleFile);
        const std::vector<std::string> outside = program.OutsideTarget();
        const RunResult result = program.Convert(rule);
        ExpectCleanFailure(program, result, rule, outside);
        EXPECT_EQ(result.err.substr(0, result.err.find('\n')), program.Work(rule) + c.where) << c.name;
        for (const std::string& log : program.LogPaths())
            std::filesystem::remove(FsPath(log));
    }
    EXPECT_TRUE(ListFolder(program.Target()).empty());
}

TEST(AppDiagnostics, FilesThatCannotBeWrittenSayWhy)
{
    Program program;
    program.WriteRule("Plant.pxkbx", "<Rules name=\"Plant\"/>\n");
    ASSERT_TRUE(MakeFolder(program.Target() + "/Plant"));
    ASSERT_TRUE(MakeFolder(program.Target() + "/Plant/KBRoutine.bas"));
    const RunResult result = program.ConvertInto("Plant.pxkbx", "target");
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_EQ(result.err.substr(0, result.err.find('\n')),
              program.Work("Plant.pxkbx: error: cannot write " + SystemPath("target/Plant/KBRoutine.bas") +
                           ": Is a directory"));
}

// A reason stays on its own line even in large rule files.
TEST(AppDiagnostics, LineNumbersStayRightPastSixtyFiveThousand)
{
    Program program;
    program.WriteRule("big.pxkbx", "<Rules name=\"P\">\n" + std::string(70000, '\n') + "<Sort name=\"S\"/>\n</Rules>\n");
    RunResult result = program.Convert("big.pxkbx");
    EXPECT_EQ(result.err.substr(0, result.err.find('\n')),
              program.Work("big.pxkbx:70002: error: Sort 'S' has no attribute 'displayname'"));
}

// Names and paths appear in a reason exactly as they are, whatever tokens they hold, and a line
// break or escape in them cannot start a line of its own.
TEST(AppDiagnostics, MessagesShowNamesAndPathsAsTheyAre)
{
    struct Row {
        const char* behaviour;
        std::string ruleFile;  // in the work folder
        const char* document;  // none: the file is not there
        std::string target;    // in the work folder
        std::string shown;     // the error line; WORK stands for the work folder
        std::optional<Need> needs = std::nullopt;
    };
    const std::vector<Row> rows = {
        {"a Method named like a token, in a class named like another", "m.pxkbx",
         "<R name=\"P\">\n<Classblock name=\"ITEM_00001\">\n<Method name=\"ITEM_00002\" displayname=\"\" "
         "interactive=\"true\" casefixed=\"true\"/></Classblock></R>",
         "out", "WORK/m.pxkbx:3: error: Method 'ITEM_00002' in class 'ITEM_00001' has no attribute 'secure'"},
        {"a rule file that cannot be read, in a folder named like a token", "ITEM_00002/a.pxkbx", nullptr, "out",
         "WORK/ITEM_00002/a.pxkbx: error: cannot read WORK/ITEM_00002/a.pxkbx: No such file or directory"},
        {"a list entry named like a token", "k.pxkbx",
         "<R name=\"P\"><Sort name=\"S\" displayname=\"\"><KeyList><ITEM_00002/></KeyList></Sort></R>", "out",
         "WORK/k.pxkbx:1: error: KeyList entry <ITEM_00002> has no attribute 'comparison_op'"},
        {"a name with line breaks", "n.pxkbx", "<R name=\"P\"><Rule name=\"a&#10;b&#13;\" displayname=\"\"/></R>",
         "out", "WORK/n.pxkbx:1: error: Rule 'a\\nb\\r' has no attribute 'interactive'"},
        {"a rule path with a line break and an escape", "b\n\x1b[2J.pxkbx", "", "out",
         "WORK/b\\n\\x1b[2J.pxkbx:1: error: Document is empty", Need::kAnyByteInFileNames},
        {"a target under a folder named like a token", "t.pxkbx", "<R name=\"P\"/>", "ITEM_00001/file",
         "WORK/t.pxkbx: error: cannot create folder " + JoinedPath("WORK/ITEM_00001/file", "P") + ": Not a directory"},
    };
    TempFolder app, work;
    ASSERT_TRUE(MakeFolder(work / "ITEM_00001"));
    ASSERT_TRUE(MakeFolder(work / "out"));
    WriteFileBytes(work / "ITEM_00001/file", "");
    CConvertHelper converter([] { return std::make_unique<CKBItemsConvertor>(); },
                             CProgramFolders{app.Path() + "/", "", ""});
    for (const Row& row : rows) {
        if (row.needs && !PlatformHas(*row.needs))
            continue;
        const std::string rulePath = work / row.ruleFile;
        if (row.document)
            WriteFileBytes(rulePath, row.document);
        EXPECT_FALSE(converter.ConvertFile(rulePath, work / row.target)) << row.behaviour;
        std::string shown = row.shown;
        for (size_t at; (at = shown.find("WORK")) != std::string::npos;)
            shown.replace(at, 4, work.Path());
        EXPECT_EQ(converter.FailureMessage(rulePath), shown) << row.behaviour;
        // The path as shown is what comes before the first colon.
        EXPECT_EQ(converter.LogNote(rulePath),
                  shown.substr(0, shown.find(':', work.Path().size())) + ": note: log file " + converter.LogPath())
            << row.behaviour;
        hostile::WithoutFailureLine(ReadFileBytes(converter.LogPath()), shown);
    }
    CLog::Restart(std::nullopt);
}

namespace {

// A rule file of one module around body, which starts on line 2.
std::string Module(const std::string& body)
{
    return "<Rules name=\"P\">\n" + body + "</Rules>\n";
}

constexpr const char* kRule =
    "<Rule name=\"R\" displayname=\"r\" interactive=\"true\" secure=\"true\" casefixed=\"true\">";
constexpr const char* kRuleCode = "<![CDATA[Function R(a)\nEnd Function\n]]>";
constexpr const char* kCalc =
    "<Method name=\"Calc\" displayname=\"c\" interactive=\"true\" secure=\"true\" casefixed=\"true\">";
constexpr const char* kCalcCode = "<![CDATA[Function Calc(o)\nEnd Function\n]]>";

std::vector<std::string> WarningLines(const std::string& err)
{
    std::vector<std::string> lines;
    for (size_t start = 0, end; (end = err.find('\n', start)) != std::string::npos; start = end + 1) {
        const std::string line = err.substr(start, end - start);
        if (line.find(": warning: ") != std::string::npos)
            lines.push_back(line);
    }
    return lines;
}

}  // namespace

// Warnings change nothing else: the same exit status, the same files, and --no-warnings drops them.
TEST(AppDiagnostics, WarningsNameWhatWouldBeLostOrNotCompile)
{
    struct WarningCase {
        const char* behaviour;
        std::string ruleFile;  // "@path" copies that file of the source tree
        std::vector<std::string> warnings;  // each after "<rule path>:"
    };
    const WarningCase cases[] = {
        {"the example gives none", "@examples/Plant.pxkbx", {}},
        {"golden events_replaced gives none", "@tests/golden/events_replaced/input.pxkbx", {}},
        {"golden minimal gives none", "@tests/golden/minimal/input.pxkbx", {}},
        {"golden code_as_written, names in other letter case included, gives none",
         "@tests/golden/code_as_written/input.pxkbx", {}},
        {"golden method_without_secure gives none before its error",
         "@tests/golden/method_without_secure/input.pxkbx", {}},
        {"a Demon without PatternCode and ActionCode", "@tests/golden/tokens_in_names/input.pxkbx",
         {"17: warning: Demon 'Second' has no PatternCode; the dispatch calls 'SecondPatternPattern_Tank'",
          "17: warning: Demon 'Second' has no ActionCode; the dispatch calls 'SecondActionAction_Tank'"}},
        {"Method and Event outside a Classblock",
         Module(std::string(kCalc) + kCalcCode + "</Method>\n<Event name=\"E\"/>\n"),
         {"2: warning: <Method> outside a Classblock is not read",
          "5: warning: <Event> outside a Classblock is not read"}},
        {"unknown elements at the root and in a Classblock",
         Module("<ClassBlock name=\"A\"/>\n<Classblock name=\"B\">\n<Methods/>\n</Classblock>\n"),
         {"2: warning: unknown element <ClassBlock> is not read (names are case-sensitive: <Classblock>)",
          "4: warning: unknown element <Methods> in Classblock 'B' is not read"}},
        {"a second CDATA section after a comment",
         Module(std::string(kRule) + kRuleCode + "<!-- c -->\n<![CDATA[x\n]]></Rule>\n"),
         {"5: warning: a CDATA section is not read: Rule 'R' takes only its first child node"}},
        {"a comment before the code leaves the code unread",
         Module("<GlobalCode><!-- c --><![CDATA[Dim a\n]]></GlobalCode>\n"),
         {"2: warning: a CDATA section is not read: GlobalCode takes only its first child node",
          "2: warning: the global code's last line ' c ' does not end with a line break and is not written"}},
        {"an earlier code node is replaced by a later one",
         Module("<Classblock name=\"C\">\n" + std::string(kCalc) + kCalcCode +
                "\n<!-- end --></Method>\n</Classblock>\n"),
         {"3: warning: a CDATA section is not read: Method 'Calc' in class 'C' takes its code from its "
          "last child node, a comment on line 6",
          "3: warning: Method 'Calc' in class 'C' defines no routine 'Calc' in its code; the dispatch "
          "calls 'Calc_C'",
          "3: warning: Method 'Calc' in class 'C' ends its code without a line break; the routine "
          "written after it would start on its last line",
          "6: warning: VB6 compile error: Invalid outside procedure"}},
        {"a Demon routine not named as the dispatch expects, a replaced PatternCode, a misspelt ActionCode",
         Module("<Demon name=\"D\" casefixed=\"true\"><PatternCode>x</PatternCode><Classlist><C name=\"T\"/></Classlist>\n"
                "<PatternCode><![CDATA[Sub DPattern(o, d)\nEnd Sub\n]]></PatternCode>\n<Actioncode/></Demon>\n"),
         {"2: warning: element <PatternCode> is not read: a later one on line 3 replaces it",
          "2: warning: Demon 'D' defines no routine 'DPatternPattern' in its PatternCode; the dispatch "
          "calls 'DPatternPattern_T'",
          "2: warning: Demon 'D' has no ActionCode; the dispatch calls 'DActionAction_T'",
          "6: warning: unknown element <Actioncode> in Demon 'D' is not read (names are case-sensitive: "
          "<ActionCode>)"}},
        {"values that go into VB strings",
         Module("<Classblock name=\"a&quot;b\">\n<Event name=\"E\"><Classlist><C name=\"x&#10;y\"/></Classlist>"
                "<![CDATA[Sub E(o, d)\nEnd Sub\n]]></Event>\n</Classblock>\n"
                "<Filter name=\"F\" displayname=\"say &quot;hi&quot;\"/>\n"),
         {"2: warning: the name of Classblock 'a\"b' holds a double quote; the VB string it goes into "
          "will not compile",
          "3: warning: the name of Classlist entry <C> holds a line break; the VB string it goes into "
          "will not compile",
          "3: warning: VB6 compile error: Expected: end of statement",
          "7: warning: the displayname of Filter 'F' holds a double quote; the VB string it goes into "
          "will not compile"}},
        {"code without a final line break",
         Module(std::string(kRule) + "<![CDATA[Function R(a)\nEnd Function]]></Rule>\n"),
         {"2: warning: Rule 'R' ends its code without a line break; the routine written after it would "
          "start on its last line"}},
        {"a replaced global code, class names, an unclosed class and an unread last line",
         Module("<GlobalCode><![CDATA[\nClass Pump 'tank\nEnd Class\nClass Valve\nDim v\n]]><!-- c -->"
                "</GlobalCode>\n<GlobalCode>\n<![CDATA[Dim a\nDim b]]></GlobalCode>\n"),
         {"2: warning: element <GlobalCode> is not read: a later one on line 8 replaces it",
          "3: warning: class name ''tank' in the global code is not a VB name (a letter, then letters, "
          "digits and '_')",
          "5: warning: class block in the global code has no 'End Class' line; it and the code after it "
          "are not written",
          "10: warning: the global code's last line 'Dim b' does not end with a line break and is not "
          "written"}},
        {"golden vb_errors: VB6's compile errors at the rule file's lines of a Rule, a Demon's two parts, "
         "the global code and its inline class",
         "@tests/golden/vb_errors/input.pxkbx",
         {"5: warning: VB6 compile error: Syntax error (expected: expression)",
          "9: warning: VB6 compile error: Do without Loop",
          "14: warning: VB6 compile error: Block If without End If",
          "20: warning: VB6 compile error: Syntax error (expected: end of statement)",
          "24: warning: VB6 compile error: For without Next"}},
        {"names the project declares twice, and a module name that names no VB project",
         "<Rules name=\"Evil X\">\n"
         "<GlobalCode><![CDATA[Public Function Helper(a)\nEnd Function\n]]></GlobalCode>\n"
         "<Rule name=\"Twice\" displayname=\"t\" interactive=\"true\" secure=\"true\" casefixed=\"true\">"
         "<![CDATA[Function Twice(a)\nEnd Function\n]]></Rule>\n"
         "<Sort name=\"Twice\" displayname=\"s\"><![CDATA[Sub Twice(o, k)\nEnd Sub\n]]></Sort>\n"
         "<Rule name=\"Helper\" displayname=\"h\" interactive=\"true\" secure=\"true\" casefixed=\"true\">"
         "<![CDATA[Function Helper(a)\nEnd Function\n]]></Rule>\n"
         "<Filter name=\"CalcPump\" displayname=\"f\"><![CDATA[Function CalcPump(o)\nEnd Function\n]]></Filter>\n"
         "<Classblock name=\"Pump\">\n" + std::string(kCalc) + kCalcCode + "</Method>\n</Classblock>\n</Rules>\n",
         {"1: warning: module name 'Evil X' is not a name VB6 takes for a project (a letter, then letters, "
          "digits and '_', at most 255, and no keyword)",
          "8: warning: VB6 compile error: Ambiguous name detected: Twice",
          "11: warning: VB6 compile error: Ambiguous name detected: Helper",
          "18: warning: VB6 compile error: Duplicate declaration in current scope"}},
        {"near misses give none: a Filter without code, bare sort keys, a national class name",
         Module("<Filter name=\"F\" displayname=\"f\"/>\n<Sort name=\"S\" displayname=\"s\">"
                "<KeyList><K comparison_op=\"&quot;x&quot;\"/></KeyList><![CDATA[Sub S(o, k)\nEnd Sub\n]]>"
                "</Sort>\n<GlobalCode><![CDATA[Class Größe\nEnd Class\n]]></GlobalCode>\n"),
         {}},
    };
    TempFolder home, work;
    const std::string program = CopyProgram(home.Path());
    int n = 0;
    for (const WarningCase& c : cases) {
        const std::string name = "case" + std::to_string(++n);
        const std::string rulePath = work / (name + ".pxkbx");
        const bool copied = c.ruleFile[0] == '@';
        WriteFileBytes(rulePath,
                       copied ? ReadFileBytes(RULECAST_SOURCE_DIR "/" + c.ruleFile.substr(1)) : c.ruleFile);
        const std::string out = name + "-out", quiet = name + "-quiet";
        ASSERT_TRUE(MakeFolder(work / out));
        ASSERT_TRUE(MakeFolder(work / quiet));

        RunResult warned = RunProgram(program, {rulePath, out}, work.Path());
        std::vector<std::string> expected;
        for (const std::string& warning : c.warnings)
            expected.push_back(rulePath + ":" + warning);
        EXPECT_EQ(WarningLines(warned.err), expected) << c.behaviour;

        RunResult silent = RunProgram(program, {"--no-warnings", rulePath, quiet}, work.Path());
        EXPECT_TRUE(WarningLines(silent.err).empty()) << c.behaviour;
        EXPECT_EQ(silent.exitCode, warned.exitCode) << c.behaviour;
        EXPECT_EQ(silent.out, warned.out) << c.behaviour;
        const std::vector<std::string> written = ListTree(work / out);
        EXPECT_EQ(ListTree(work / quiet), written) << c.behaviour;
        for (const std::string& file : written)
            EXPECT_EQ(ReadFileBytes(work / (quiet + "/" + file)), ReadFileBytes(work / (out + "/" + file)))
                << c.behaviour << ": " << file;
    }
}
