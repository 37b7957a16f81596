// Names from the rule file become a folder and file names; none may lead out of the target.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "TestSupport.h"
#include "hostile/HostileProgram.h"

TEST(AppHostileNames, UnsafeModuleAndClassNamesCreateNothing)
{
    struct Case {
        const char* name;
        std::string document;
    };
    const std::string rule =
        "<Rule name=\"R\" displayname=\"d\" interactive=\"true\" secure=\"true\" casefixed=\"true\">"
        "<![CDATA[Public Function R() As Variant\nR = 1\nEnd Function\n]]></Rule>";
    const std::vector<Case> cases = {
        {"module ../x", "<r name=\"../x\">" + rule + "</r>"},
        {"module ..", "<r name=\"..\">" + rule + "</r>"},
        {"module a/b", "<r name=\"a/b\">" + rule + "</r>"},
        {"module a\\b", "<r name=\"a\\b\">" + rule + "</r>"},
        {"empty module name", "<r name=\"\">" + rule + "</r>"},
        {"module name by character reference", "<r name=\"..&#47;x\">" + rule + "</r>"},
        {"class ../../x", "<r name=\"M\"><GlobalCode><![CDATA[\nClass ../../x\nDim v\nEnd Class\n]]></GlobalCode>" +
                              rule + "</r>"},
        {"class behind a safe one",
         "<r name=\"M\"><GlobalCode><![CDATA[\nClass P\nEnd Class\nClass ../../../x\nEnd Class\n]]></GlobalCode></r>"},
        // 252 characters make a folder that fits but a .vbp or .cls name that does not.
        {"module name too long for its project file", "<r name=\"" + std::string(252, 'M') + "\">" + rule + "</r>"},
        {"class name too long for its file",
         "<r name=\"M\"><GlobalCode><![CDATA[\nClass " + std::string(252, 'C') + "\nEnd Class\n]]></GlobalCode></r>"},
        {"class named like the console's input device",
         "<r name=\"M\"><GlobalCode><![CDATA[\nClass CONIN$\nEnd Class\n]]></GlobalCode></r>"},
    };
    for (const Case& c : cases) {
        hostile::Program program;
        // Lets "a/b" resolve, so only the name check can keep it out.
        MakeFolder(program.Target() + "/a");
        program.WriteRule("names.pxkbx", c.document);
        const std::vector<std::string> outside = program.OutsideTarget();
        const hostile::Outcome outcome = program.Convert("names.pxkbx");
        const std::string log = hostile::ExpectCleanFailure(program, outcome, "names.pxkbx", outside);
        EXPECT_EQ(hostile::ListEntries(program.Target()), std::vector<std::string>{"a"}) << c.name;
        // Reading succeeded; the build refused before writing a file.
        EXPECT_EQ(log.find("Write "), std::string::npos) << c.name << "\n" << log;
    }
}
