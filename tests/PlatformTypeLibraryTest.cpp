#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>

#include "TestSupport.h"
#include "platform/TypeLibraryLookup.h"

namespace {

// Points the lookup at registry files of the test's own, never at the machine's ~/.wine, and puts
// the caller's environment back afterwards.
class PlatformTypeLibrary : public ::testing::Test {
protected:
    void SetUp() override
    {
        Save("WINEPREFIX", savedPrefix_);
        Save("HOME", savedHome_);
        setenv("WINEPREFIX", prefix_.Path().c_str(), 1);
    }
    void TearDown() override
    {
        Restore("WINEPREFIX", savedPrefix_);
        Restore("HOME", savedHome_);
    }
    void WriteRegistry(const std::string& folder, const std::string& file, const std::string& keys)
    {
        std::filesystem::create_directories(folder);
        WriteFileBytes(folder + "/" + file,
                       "WINE REGISTRY Version 2\n;; All keys relative to \\\\Machine\n\n"
                       "#arch=win32\n\n" + keys);
    }

    TempFolder prefix_;

private:
    static void Save(const char* name, std::optional<std::string>& saved)
    {
        if (const char* value = std::getenv(name))
            saved = value;
    }
    static void Restore(const char* name, const std::optional<std::string>& saved)
    {
        if (saved)
            setenv(name, saved->c_str(), 1);
        else
            unsetenv(name);
    }
    std::optional<std::string> savedPrefix_;
    std::optional<std::string> savedHome_;
};

const std::string kKeyLine =
    R"([Software\\Classes\\TypeLib\\{38000000-F1C5-412B-B40F-DBFCAEFAAFB6}\\97.0\\0\\win32] 1700000000)"
    "\n#time=1d9a0c2b3e4f5a6\n";

std::string Section(const std::string& keyLine, const std::string& values)
{
    return keyLine + values + "\n";
}

struct LookupCase {
    const char* behaviour;
    std::string userReg;    // not written when empty
    std::string systemReg;  // not written when empty
    std::optional<std::string> expected;
};

} // namespace

TEST_F(PlatformTypeLibrary, ReadsTheDefaultValueOfTheTypeLibraryKey)
{
    const std::string longPath = "C:\\" + std::string(300, 'p') + ".tlb";
    const std::string lowerKey =
        R"([software\\classes\\typelib\\{38000000-f1c5-412b-b40f-dbfcaefaafb6}\\97.0\\0\\WIN32] 17)"
        "\n";
    const std::string win64Key =
        R"([Software\\Classes\\TypeLib\\{38000000-F1C5-412B-B40F-DBFCAEFAAFB6}\\97.0\\0\\win64] 17)"
        "\n";
    const std::string parentKey =
        R"([Software\\Classes\\TypeLib\\{38000000-F1C5-412B-B40F-DBFCAEFAAFB6}\\97.0\\0] 17)"
        "\n";
    const LookupCase cases[] = {
        {"from user.reg", Section(kKeyLine, R"(@="C:\\Host\\host.tlb")"), "", "C:\\Host\\host.tlb"},
        {"from system.reg", "", Section(kKeyLine, R"(@="D:\\sys.tlb")"), "D:\\sys.tlb"},
        {"user.reg before system.reg", Section(kKeyLine, R"(@="user.tlb")"),
         Section(kKeyLine, R"(@="system.tlb")"), "user.tlb"},
        {"key in another letter case", Section(lowerKey, R"(@="C:\\h.tlb")"), "", "C:\\h.tlb"},
        {"named values and neighbouring keys are skipped",
         Section(parentKey, R"(@="parent.tlb")") + Section(win64Key, R"(@="win64.tlb")") +
             Section(kKeyLine, "\"Name\"=\"named.tlb\"\n@=\"right.tlb\""),
         "", "right.tlb"},
        {"C escapes, quotes and protected brackets",
         Section(kKeyLine, R"(@="a\"b\"\tc\nd\re\[f\]\\g")"), "", "a\"b\"\tc\nd\re[f]\\g"},
        {"hex code units written as UTF-8",
         Section(kKeyLine, R"(@="H\xe4st\x00e4d\x20ac\xd83d\xde00")"), "",
         "H\xc3\xa4st\xc3\xa4" "d\xe2\x82\xac\xf0\x9f\x98\x80"},
        {"octal escapes, a NUL ends the text", Section(kKeyLine, R"(@="a\101\0junk")"), "", "aA"},
        {"expandable string", Section(kKeyLine, R"(@=str(2):"%ProgramFiles%\\h.tlb")"), "",
         "%ProgramFiles%\\h.tlb"},
        {"longer than 255 characters, taken whole",
         Section(kKeyLine, "@=\"C:\\\\" + std::string(300, 'p') + ".tlb\""), "", longPath},
        {"registry file with CR LF line ends", WithCrLf(Section(kKeyLine, R"(@="crlf.tlb")")), "",
         "crlf.tlb"},
        {"empty value", Section(kKeyLine, R"(@="")"), "", ""},
        {"no registry files", "", "", std::nullopt},
        {"key missing", Section(win64Key, R"(@="win64.tlb")"), Section(parentKey, R"(@="p.tlb")"),
         std::nullopt},
        {"key without default value", Section(kKeyLine, R"("Name"="named.tlb")"), "", std::nullopt},
        {"default value not text", Section(kKeyLine, "@=dword:00000001"), "", std::nullopt},
        {"value without closing quote", Section(kKeyLine, R"(@="open.tlb)"), "", std::nullopt},
    };
    for (const LookupCase& c : cases) {
        SCOPED_TRACE(c.behaviour);
        TempFolder prefix;
        setenv("WINEPREFIX", prefix.Path().c_str(), 1);
        if (!c.userReg.empty())
            WriteRegistry(prefix.Path(), "user.reg", c.userReg);
        if (!c.systemReg.empty())
            WriteRegistry(prefix.Path(), "system.reg", c.systemReg);
        EXPECT_EQ(CTypeLibraryLookup::FindHostTypeLibrary(), c.expected);
    }
}

TEST_F(PlatformTypeLibrary, TakesHomeWineWhenNoPrefixIsSet)
{
    setenv("HOME", prefix_.Path().c_str(), 1);
    WriteRegistry(prefix_ / ".wine", "system.reg", Section(kKeyLine, R"(@="home.tlb")"));

    unsetenv("WINEPREFIX");
    EXPECT_EQ(CTypeLibraryLookup::FindHostTypeLibrary(), "home.tlb");
    setenv("WINEPREFIX", "", 1);
    EXPECT_EQ(CTypeLibraryLookup::FindHostTypeLibrary(), "home.tlb");
    setenv("WINEPREFIX", (prefix_ / "elsewhere").c_str(), 1);
    EXPECT_EQ(CTypeLibraryLookup::FindHostTypeLibrary(), std::nullopt);
    unsetenv("WINEPREFIX");
    unsetenv("HOME");
    EXPECT_EQ(CTypeLibraryLookup::FindHostTypeLibrary(), std::nullopt);
}
