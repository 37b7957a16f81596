// Rule files that name other files: whatever they name is never opened. Watched with inotify.
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

