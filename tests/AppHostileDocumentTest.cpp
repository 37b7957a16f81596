// Rule files made to harm or merely broken, run through the real program: references to other
// files, entity bombs, broken bytes and other encodings.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include <sys/inotify.h>
#include <unistd.h>

#include "TestSupport.h"
#include "hostile/HostileProgram.h"

using hostile::ExpectCleanFailure;
using hostile::ListEntries;
using hostile::Program;

namespace {

const std::string kPlant = ReadFileBytes(std::string(RULECAST_SOURCE_DIR) + "/examples/Plant.pxkbx");

constexpr const char* kSecret = "SECRET-5e1f0c";

// Whether anything opens or reads the watched files while it lives.
class OpenWatch {
public:
    explicit OpenWatch(const std::vector<std::string>& paths) : fd_(::inotify_init1(IN_NONBLOCK))
    {
        for (const std::string& path : paths)
            EXPECT_GE(::inotify_add_watch(fd_, path.c_str(), IN_OPEN | IN_ACCESS), 0) << path;
    }
    ~OpenWatch() { ::close(fd_); }
    OpenWatch(const OpenWatch&) = delete;
    OpenWatch& operator=(const OpenWatch&) = delete;

    bool Touched() const
    {
        alignas(inotify_event) char events[4096];
        return ::read(fd_, events, sizeof events) > 0;
    }

private:
    int fd_;
};

}  // namespace

TEST(AppHostileDocument, FilesNamedByTheDocumentAreNeverOpened)
{
    struct Case {
        const char* name;
        std::string document;  // SECRET and DTD stand for the two files' absolute paths
    };
    const std::vector<Case> cases = {
        {"entity naming a file beside the rule file",
         "<!DOCTYPE r [<!ENTITY s SYSTEM \"secret.txt\">]>"
         "<r name=\"M\"><GlobalCode>&s;</GlobalCode></r>"},
        {"entity naming an absolute file URL",
         "<!DOCTYPE r [<!ENTITY s SYSTEM \"file://SECRET\">]>"
         "<r name=\"M\"><GlobalCode>&s;</GlobalCode></r>"},
        {"entity with a public identifier",
         "<!DOCTYPE r [<!ENTITY s PUBLIC \"-//x//y\" \"SECRET\">]>"
         "<r name=\"M\"><Rule name=\"R\" displayname=\"d\" interactive=\"true\" secure=\"true\" "
         "casefixed=\"true\">&s;</Rule></r>"},
        {"parameter entity naming a file",
         "<!DOCTYPE r [<!ENTITY % p SYSTEM \"SECRET\"> %p;]><r name=\"M\"/>"},
        {"external DTD declaring the entity used",
         "<!DOCTYPE r SYSTEM \"DTD\"><r name=\"M\"><GlobalCode>&fromDtd;</GlobalCode></r>"},
        {"external DTD by relative path",
         "<!DOCTYPE r SYSTEM \"evil.dtd\"><r name=\"M\"><GlobalCode>&fromDtd;</GlobalCode></r>"},
        {"external DTD with a public identifier",
         "<!DOCTYPE r PUBLIC \"-//x//y\" \"evil.dtd\"><r name=\"M\"><GlobalCode>&fromDtd;</GlobalCode></r>"},
    };
    for (const Case& c : cases) {
        Program program;
        const std::string secret = program.Work("secret.txt"), dtd = program.Work("evil.dtd");
        WriteFileBytes(secret, std::string(kSecret) + "\nDim leaked\n");
        WriteFileBytes(dtd, "<!ENTITY fromDtd \"" + std::string(kSecret) + "\">\n");
        std::string document = c.document;
        for (size_t pos; (pos = document.find("SECRET")) != std::string::npos;)
            document.replace(pos, 6, secret);
        for (size_t pos; (pos = document.find("\"DTD\"")) != std::string::npos;)
            document.replace(pos, 5, "\"" + dtd + "\"");
        program.WriteRule("rule.pxkbx", document);
        const std::vector<std::string> outside = program.OutsideTarget();

        OpenWatch watch({secret, dtd});
        const hostile::Outcome outcome = program.Convert("rule.pxkbx");
        EXPECT_FALSE(watch.Touched()) << c.name << ": a referenced file was opened";
        const std::string log = ExpectCleanFailure(program, outcome, "rule.pxkbx", outside);
        // Refused before any item was read.
        EXPECT_EQ(log, program.BeginBanner("rule.pxkbx")) << c.name;
        EXPECT_EQ(ListEntries(program.Target()), std::vector<std::string>{}) << c.name;
        EXPECT_EQ(outcome.err.find(kSecret), std::string::npos) << c.name;
    }
}

// A DOCTYPE that names an external DTD but needs nothing from it is a valid document: it
// converts, and the DTD stays unread.
TEST(AppHostileDocument, AnUnneededExternalDtdIsNotReadAndTheFileConverts)
{
    Program program;
    const std::string dtd = program.Work("evil.dtd");
    WriteFileBytes(dtd, "<!ENTITY fromDtd \"x\">\n");
    program.WriteRule("rule.pxkbx", "<!DOCTYPE r SYSTEM \"evil.dtd\"><r name=\"M\"/>");
    OpenWatch watch({dtd});
    const hostile::Outcome outcome = program.Convert("rule.pxkbx");
    EXPECT_FALSE(watch.Touched());
    EXPECT_EQ(outcome.exitCode, 0) << outcome.err;
    hostile::ExpectNoSanitizerReport(outcome);
    EXPECT_EQ(ListTree(program.Target()),
              (std::vector<std::string>{"M/DataServiceImpl.cls", "M/GlobalCode.bas", "M/KBRoutine.bas",
                                        "M/M.vbp"}));
}

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
