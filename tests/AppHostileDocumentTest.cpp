// Rule files made to harm or merely broken, run through the real program: entity bombs, broken
// bytes and other encodings.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "TestSupport.h"
#include "hostile/HostileProgram.h"

using hostile::ExpectCleanFailure;
using hostile::ListEntries;
using hostile::Program;

namespace {

const std::string kPlant = ReadFileBytes(std::string(RULECAST_SOURCE_DIR) + "/examples/Plant.pxkbx");

}  // namespace

TEST(AppHostileDocument, EntityBombsFailFastInBoundedMemory)
{
    std::string laughs = "<?xml version=\"1.0\"?>\n<!DOCTYPE r [\n<!ENTITY l0 \"lol\">\n";
    for (int level = 1; level <= 10; ++level) {
        laughs += "<!ENTITY l" + std::to_string(level) + " \"";
        for (int i = 0; i < 10; ++i)
            laughs += "&l" + std::to_string(level - 1) + ";";
        laughs += "\">\n";
    }
    laughs += "]>\n<r name=\"M\"><GlobalCode>&l10;</GlobalCode></r>\n";

    // Few levels, but each reference copies a long text: quadratic rather than exponential.
    std::string quadratic = "<!DOCTYPE r [<!ENTITY a \"" + std::string(50000, 'a') + "\">]><r name=\"M\"><GlobalCode>";
    for (int i = 0; i < 50000; ++i)
        quadratic += "&a;";
    quadratic += "</GlobalCode></r>";

    // The same in an attribute value, which is expanded on the spot.
    std::string attribute = "<!DOCTYPE r [<!ENTITY a \"" + std::string(50000, 'a') + "\">]><r name=\"";
    for (int i = 0; i < 50000; ++i)
        attribute += "&a;";
    attribute += "\"/>";

    struct Case {
        const char* name;
        std::string document;  // each would expand to gigabytes
    };
    for (const Case& c : std::vector<Case>{{"billion laughs", laughs},
                                            {"quadratic blow-up in text", quadratic},
                                            {"quadratic blow-up in an attribute", attribute}}) {
        Program program;
        program.WriteRule("bomb.pxkbx", c.document);
        const std::vector<std::string> outside = program.OutsideTarget();
        const hostile::Outcome outcome = program.Convert("bomb.pxkbx", {.seconds = 90});
        const std::string log = ExpectCleanFailure(program, outcome, "bomb.pxkbx", outside);
        EXPECT_EQ(log, program.BeginBanner("bomb.pxkbx")) << c.name;
        // A fraction of a second and some megabytes in a plain build; the sanitizers' allocator
        // and a busy machine make that seconds and a few hundred megabytes.
        EXPECT_LT(outcome.seconds, 45) << c.name;
        EXPECT_LT(outcome.maxRssKb, 600 * 1024) << c.name;
    }
}

TEST(AppHostileDocument, BrokenBytesFailWithTheBeginBannerAlone)
{
    struct Case {
        const char* name;
        std::string bytes;
    };
    const std::string minimal = "<?xml version=\"1.0\" encoding=\"UTF-8\"?><r name=\"M\"/>";
    const std::vector<Case> cases = {
        {"0 bytes", ""},
        {"truncated in the middle", kPlant.substr(0, kPlant.size() / 2)},
        {"truncated before the root's end tag", kPlant.substr(0, kPlant.rfind("</KnowledgeBase>"))},
        {"invalid UTF-8 in code", "<r name=\"M\"><GlobalCode><![CDATA[Dim \xC3\x28 As Long\n]]></GlobalCode></r>"},
        {"invalid UTF-8 in the module name", "<r name=\"M\xFF\"/>"},
        // An overlong encoding of "/" must not pass as a path separator.
        {"overlong UTF-8 in the module name", "<r name=\"..\xC0\xAFx\"/>"},
        {"UTF-16 declared, UTF-8 given", "<?xml version=\"1.0\" encoding=\"UTF-16\"?><r name=\"M\"/>"},
        {"NUL byte", std::string("<r name=\"M\0\"/>", 14)},
        {"two roots", minimal + "<r name=\"N\"/>"},
    };
    for (const Case& c : cases) {
        Program program;
        program.WriteRule("broken.pxkbx", c.bytes);
        const std::vector<std::string> outside = program.OutsideTarget();
        const hostile::Outcome outcome = program.Convert("broken.pxkbx");
        const std::string log = ExpectCleanFailure(program, outcome, "broken.pxkbx", outside);
        EXPECT_EQ(log, program.BeginBanner("broken.pxkbx")) << c.name;
        EXPECT_EQ(ListEntries(program.Target()), std::vector<std::string>{}) << c.name;
    }
}
