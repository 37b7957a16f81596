// The Windows layer where it differs from Linux: Windows' own folder codes, names that match
// without regard to case, and paths beyond the ANSI code page.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "TestSupport.h"
#include "platform/FileSearch.h"
#include "platform/FileSystem.h"

namespace {

// Letters of three scripts, none of them in code page 1252 all at once.
const std::string kForeign = "Gr\xC3\xBC\xC3\x9F" "e \xE6\x97\xA5\xE6\x9C\xAC \xCE\xA9";

}  // namespace

TEST(PlatformWin32, CreateFolderReportsWindowsOwnCodes)
{
    struct Case {
        const char* behaviour;
        std::string path;  // below the test's folder
        int code;
        std::string text;  // FolderErrorText, for failures
    };
    const Case cases[] = {
        {"created", "p", CFileSystem::kCreated, ""},
        {"already exists (183)", "p", CFileSystem::kAlreadyExists, ""},
        {"a file of that name exists (183)", "file", CFileSystem::kAlreadyExists, ""},
        {"missing parent", "missing/p", 3, "No such file or directory"},
        {"parent is a file", "file/p", 267, "Not a directory"},
        {"name beyond the ANSI code page", kForeign, CFileSystem::kCreated, ""},
    };
    TempFolder dir;
    WriteFileBytes(dir / "file", "");
    for (const Case& c : cases) {
        const int code = CFileSystem::CreateFolder(dir / c.path);
        EXPECT_EQ(code, c.code) << c.behaviour;
        if (!c.text.empty())
            EXPECT_EQ(CFileSystem::FolderErrorText(code), c.text) << c.behaviour;
    }
    EXPECT_EQ(ListFolder(dir.Path()), (std::vector<std::string>{kForeign, "file", "p"}));
}

TEST(PlatformWin32, WildcardsMatchWithoutRegardToCaseInAnyFolder)
{
    struct Case {
        const char* behaviour;
        std::string pattern;  // after the folder and a separator
        std::vector<std::string> names;
    };
    const std::string umlaut = "\xC3\x84rger.pxkbx";  // capital A with diaeresis
    const std::vector<Case> cases = {
        {"in name byte order", "*.pxkbx", {"Plant.pxkbx", "pump.PXKBX", umlaut}},
        {"letter case ignored", "PLANT.PXKBX", {"Plant.pxkbx"}},
        {"case ignored beyond ASCII", "\xC3\xA4*", {umlaut}},
        {"? is one character", "p?mp.*", {"pump.PXKBX"}},
        {"? is one character beyond ASCII too", "?rger.pxkbx", {umlaut}},
        {"a bare * lists . and ..", "*", {".", "..", "Plant.pxkbx", "notes.txt", "pump.PXKBX", umlaut}},
        {"no prefix match", "Plant.pxk", {}},
        {"no short 8.3 name match", "PLANT~1.PXK", {}},
    };
    TempFolder dir;
    const std::string folder = dir / kForeign;
    ASSERT_TRUE(MakeFolder(folder));
    for (const char* name : {"Plant.pxkbx", "pump.PXKBX", "notes.txt"})
        WriteFileBytes(folder + "/" + name, "");
    WriteFileBytes(folder + "/" + umlaut, "");
    for (const std::string separator : {"/", "\\"}) {
        for (const Case& c : cases) {
            std::vector<std::string> expected;
            for (const std::string& name : c.names)
                expected.push_back(folder + separator + name);
            EXPECT_EQ(CFileSearch::Find(folder + separator + c.pattern), expected) << c.behaviour;
        }
    }
}

// The program finds its own folder for its logs, and its arguments arrive whole, wherever it lives.
TEST(PlatformWin32, ExecutableFolderTakesTheLogsWhereverTheProgramLives)
{
    for (const std::string name : {std::string("plain"), std::string("with blanks"), kForeign}) {
        TempFolder dir;
        const std::string home = dir / name;
        ASSERT_TRUE(MakeFolder(home));
        const std::string program = CopyProgram(home);
        WriteFileBytes(home + "/M.pxkbx", "<r name=\"M\"/>");
        const RunResult result = RunProgram(program, {home + "/*.pxkbx", dir.Path()}, dir.Path());
        EXPECT_EQ(result.exitCode, 0) << name << "\n" << result.err;
        EXPECT_EQ(ListFolder(home).size(), 3u) << name << ": the program, the rule file and one log";
        EXPECT_TRUE(CFileSystem::EntryExists(dir / "M/M.vbp")) << name;
    }
}
