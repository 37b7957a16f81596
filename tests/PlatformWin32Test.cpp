// The Windows layer where it differs from Linux: Windows' own folder codes, names that match
// without regard to case, paths beyond the ANSI code page, and the user's own folders.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "TestSupport.h"
#include "common/FoldCase.h"
#include "platform/FileSearch.h"
#include "platform/FileSystem.h"
#include "platform/ProgramFolders.h"

namespace {

// Letters of three scripts, none of them in code page 1252 all at once.
const std::string kForeign = "Gr\xC3\xBC\xC3\x9F" "e \xE6\x97\xA5\xE6\x9C\xAC \xCE\xA9";

}  // namespace

TEST(PlatformWin32, CreateFolderTellsWindowsOwnCodesApart)
{
    using Outcome = CFileSystem::FolderOutcome;
    struct Case {
        const char* behaviour;
        std::string path;  // below the test's folder
        Outcome outcome;
        std::string whyNot;  // for failures
    };
    const Case cases[] = {
        {"created", "p", Outcome::Created, ""},
        {"already exists (183)", "p", Outcome::AlreadyExists, ""},
        {"a file of that name exists (183)", "file", Outcome::AlreadyExists, ""},
        {"missing parent (3)", "missing/p", Outcome::Failed, "No such file or directory"},
        {"parent is a file (267)", "file/p", Outcome::Failed, "Not a directory"},
        {"name beyond the ANSI code page", kForeign, Outcome::Created, ""},
    };
    TempFolder dir;
    WriteFileBytes(dir / "file", "");
    for (const Case& c : cases) {
        std::string whyNot;
        EXPECT_EQ(CFileSystem::CreateFolder(dir / c.path, whyNot), c.outcome) << c.behaviour;
        if (c.outcome == Outcome::Failed)
            EXPECT_EQ(whyNot, c.whyNot) << c.behaviour;
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
        {"letter case ignored, a name without wildcards as typed", "PLANT.PXKBX", {"PLANT.PXKBX"}},
        {"case ignored beyond ASCII", "\xC3\xA4*", {umlaut}},
        {"? is one character", "p?mp.*", {"pump.PXKBX"}},
        {"? is one character beyond ASCII too", "?rger.pxkbx", {umlaut}},
        {"a bare * passes over folders, . and .. among them", "*", {"Plant.pxkbx", "notes.txt", "pump.PXKBX", umlaut}},
        {"no prefix match", "Plant.pxk", {}},
        {"no short 8.3 name match for a wildcard", "PLAN*.PXK", {}},
    };
    TempFolder dir;
    const std::string folder = dir / kForeign;
    ASSERT_TRUE(MakeFolder(folder));
    for (const char* name : {"Plant.pxkbx", "pump.PXKBX", "notes.txt"})
        WriteFileBytes(folder + "/" + name, "");
    WriteFileBytes(folder + "/" + umlaut, "");
    ASSERT_TRUE(MakeFolder(folder + "/rules.pxkbx"));
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

// Logs and config.txt that cannot go beside the program go to the user's own folders: those the
// session's variables name, or else the shell's; made, parents included, when first needed.
TEST(PlatformWin32, UserFoldersComeFromTheSessionOrTheShell)
{
    struct Case {
        const char* behaviour;
        std::optional<std::string> localAppData, appData;  // none: unset; "DIR" stands for the test's folder
        std::string logs, config;                          // empty: the shell's folder
    };
    const Case cases[] = {
        {"the session's folders", "DIR/local", "DIR\\roaming\\", "DIR/local\\Rulecast\\", "DIR\\roaming\\Rulecast\\"},
        {"a relative folder gives way to the shell's", "local", "roaming", "", ""},
        {"no variables: the shell's folders", std::nullopt, std::nullopt, "", ""},
    };
    TempFolder dir;
    auto filled = [&](std::string text) { return text.empty() ? text : text.replace(0, 3, dir.Path()); };
    const char* saved[] = {std::getenv("LOCALAPPDATA"), std::getenv("APPDATA")};
    const std::string savedLocal = saved[0] ? saved[0] : "", savedRoaming = saved[1] ? saved[1] : "";
    for (const Case& c : cases) {
        c.localAppData ? SetEnv("LOCALAPPDATA", filled(*c.localAppData)) : UnsetEnv("LOCALAPPDATA");
        c.appData ? SetEnv("APPDATA", filled(*c.appData)) : UnsetEnv("APPDATA");
        const CProgramFolders folders = CProgramFolders::ForThisUser();
        for (const auto& [folder, expected] : {std::pair(folders.userLogs, c.logs), std::pair(folders.userConfig, c.config)}) {
            if (!expected.empty()) {
                EXPECT_EQ(folder, filled(expected)) << c.behaviour;
                continue;
            }
            EXPECT_EQ(folder.substr(1, 2), ":\\") << c.behaviour << ": " << folder;
            EXPECT_TRUE(folder.ends_with("\\Rulecast\\")) << c.behaviour << ": " << folder;
        }
    }
    saved[0] ? SetEnv("LOCALAPPDATA", savedLocal) : UnsetEnv("LOCALAPPDATA");
    saved[1] ? SetEnv("APPDATA", savedRoaming) : UnsetEnv("APPDATA");

    EXPECT_TRUE(CProgramFolders::MakeUserFolder(dir / "a/b\\Rulecast\\"));
    EXPECT_EQ(ListFolder(dir / "a/b"), std::vector<std::string>{"Rulecast"});
    WriteFileBytes(dir / "file", "");
    EXPECT_FALSE(CProgramFolders::MakeUserFolder(dir / "file\\Rulecast\\"));
}

// An installed copy writes nothing beside itself, also when its user may write there (an
// administrator, Wine).
TEST(PlatformWin32, FoldersOfTheSystemAreBelowProgramFiles)
{
    const std::string programFiles = std::getenv("ProgramFiles") ? std::getenv("ProgramFiles") : "C:\\Program Files";
    TempFolder mine;
    const struct Row {
        std::string folder;
        bool system;
    } rows[] = {
        {programFiles + "\\Rulecast\\", true},
        {SystemUpperCase(programFiles) + "/Rulecast/", true},
        {programFiles + " Old\\Rulecast\\", false},
        {mine.Path() + "\\", false},
    };
    for (const Row& row : rows)
        EXPECT_EQ(CProgramFolders::IsSystemFolder(row.folder), row.system) << row.folder;
}

// The program folds names as the system compares them, for every character of the Basic
// Multilingual Plane: with the system's upper case and with its own.
TEST(PlatformWin32, NamesFoldAsWindowsComparesThem)
{
    const auto utf8 = [](char32_t point) {
        std::string text;
        if (point < 0x800) {
            text += static_cast<char>(0xC0 | point >> 6);
        } else {
            text += static_cast<char>(0xE0 | point >> 12);
            text += static_cast<char>(0x80 | (point >> 6 & 0x3F));
        }
        return text + static_cast<char>(0x80 | (point & 0x3F));
    };
    int disagreements = 0;
    for (char32_t point = 0x80; point < 0x10000; ++point) {
        if (point >= 0xD800 && point <= 0xDFFF)
            continue;
        const std::string name = utf8(point);
        for (const std::string& other : {SystemUpperCase(name), FoldCase(name)}) {
            if (other != name && EqualIgnoringCase(name, other) != SameFileName(name, other) && ++disagreements < 10)
                ADD_FAILURE() << "U+" << std::hex << static_cast<unsigned>(point);
        }
    }
    EXPECT_EQ(disagreements, 0);
}
