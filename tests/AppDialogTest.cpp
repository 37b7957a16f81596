#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <iterator>
#include <optional>

#include "DialogScript.h"
#include "TestSupport.h"
#include "dialog/RulecastDlg.h"
#include "dialog/TargetFolderConfig.h"
#include "kbfile/KBItemsConvertor.h"
#include "platform/FileSystem.h"

namespace {

constexpr const char* kNoTargetFolder = "Please select the target folder you want to put the VB project into!";
constexpr const char* kOverwrite = "The folder of VB project has existed! Do you want to overwrite it?";
constexpr const char* kConverted = "The file has been Converted to VB project successfully!";
constexpr const char* kFailed = "Error occurs during conversion! Please check the log file.";
constexpr const char* kDocuments = "/home/anna/My Rules";

using Texts = std::vector<std::string>;

// A window that shows the fields as plain texts and answers from the script.
class ScriptedFace : public CDialogFace {
public:
    explicit ScriptedFace(PromptScript& script) : prompts_(script) {}
    void ShowFields(const std::string& rulePath, const std::string& targetFolder) override
    {
        shownRule = rulePath;
        shownTarget = targetFolder;
    }
    void ReadFields(std::string& rulePath, std::string& targetFolder) override
    {
        rulePath = shownRule;
        targetFolder = shownTarget;
    }
    std::string DocumentsFolder() override { return kDocuments; }
    void ShowMessage(std::string_view text, std::string_view details) override { prompts_.ShowMessage(text, details); }
    bool AskYesNo(std::string_view text) override { return prompts_.AskYesNo(text); }
    bool ChooseRuleFile(std::string& path) override { return prompts_.ChooseRuleFile(path); }
    bool ChooseFolder(const std::string& start, std::string& folder) override
    {
        return prompts_.ChooseFolder(start, folder);
    }

    std::string shownRule;
    std::string shownTarget;

private:
    ScriptedPrompts prompts_;
};

// The dialog's logic with scripted prompts and, unless realReader, a scripted reader; config.txt
// and the logs go into app.
struct Dialog {
    TempFolder app;
    TempFolder target;
    PromptScript script;
    std::vector<Conversion> conversions;
    bool realReader;
    ScriptedFace face{script};
    CRulecastDlg logic{face, [this] {
        return std::make_unique<CConvertHelper>(ReaderFactory(), CProgramFolders{app.Path() + "/", "", ""});
    }};

    // Opens the dialog, with config.txt holding config when given.
    explicit Dialog(const std::optional<std::string>& config = std::nullopt, bool realReader = false)
        : realReader(realReader)
    {
        if (config)
            WriteFileBytes(app / "config.txt", *config);
        logic.OnInitDialog();
    }
    CConvertHelper::ReaderFactory ReaderFactory()
    {
        if (realReader)
            return [] { return std::make_unique<CKBItemsConvertor>(); };
        return [this] { return std::make_unique<ScriptedReader>(conversions); };
    }
    // Picks a rule file and a target folder through the choosers.
    void Choose(const std::string& ruleFile, const std::string& folder)
    {
        script.ruleFile = ruleFile;
        script.folder = folder;
        logic.OnBrowseRuleFile();
        logic.OnBrowseTargetFolder();
    }
    std::string Config() const { return ReadFileBytes(app / "config.txt"); }
};

}  // namespace

TEST(AppDialog, AMissingChoiceStopsBeforeAnyWork)
{
    struct Case {
        const char* behaviour;
        bool clearRule, clearTarget;
        const char* message;
    } cases[] = {
        {"no rule file", true, false, kNoRuleFile},
        {"no target folder", false, true, kNoTargetFolder},
        {"neither: the rule file is asked for first", true, true, kNoRuleFile},
    };
    for (const Case& c : cases) {
        Dialog dialog;
        dialog.Choose("/rules/Plant.pxkbx", dialog.target.Path());
        if (c.clearRule)
            dialog.face.shownRule.clear();
        if (c.clearTarget)
            dialog.face.shownTarget.clear();
        dialog.logic.OnOK();
        EXPECT_EQ(dialog.script.shown, Texts{c.message}) << c.behaviour;
        EXPECT_TRUE(dialog.conversions.empty()) << c.behaviour;
        EXPECT_EQ(ListFolder(dialog.target.Path()), Texts{}) << c.behaviour;
        EXPECT_EQ(ListFolder(dialog.app.Path()), Texts{}) << c.behaviour;
    }
}

TEST(AppDialog, ConvertingAgainAsksBeforeOverwriting)
{
    for (bool yes : {false, true}) {
        Dialog dialog;
        dialog.Choose("/rules/Plant.pxkbx", dialog.target.Path());
        dialog.logic.OnOK();
        EXPECT_EQ(dialog.script.shown, Texts{kConverted});
        // A later conversion's folder must not be saved when No stops it.
        WriteFileBytes(dialog.app / "config.txt", "/srv/marker\r\n");

        dialog.script.answers = {yes};
        dialog.logic.OnOK();
        Texts expected{kConverted, kOverwrite};
        if (yes)
            expected.push_back(kConverted);
        EXPECT_EQ(dialog.script.shown, expected) << yes;
        EXPECT_EQ(dialog.conversions.size(), yes ? 2u : 1u);
        EXPECT_EQ(dialog.Config(), yes ? dialog.target.Path() + "\r\n" : std::string("/srv/marker\r\n"));
        EXPECT_EQ(dialog.face.shownRule, "/rules/Plant.pxkbx");
    }
}

TEST(AppDialog, TheFolderMadeFirstIsNamedAfterTheRuleFile)
{
    struct Case {
        const char* ruleFile;
        const char* folder;
    } cases[] = {
        {"/rules/Renamed.pxkbx", "Renamed"},
        {"/rules/Pumps.v2.pxkbx", "Pumps.v2"},  // only the last extension goes
    };
    for (const Case& c : cases) {
        Dialog dialog;
        dialog.Choose(c.ruleFile, dialog.target.Path());
        dialog.logic.OnOK();
        EXPECT_EQ(ListFolder(dialog.target.Path()), Texts{c.folder});
        EXPECT_EQ(ListFolder(dialog.target / c.folder), Texts{});
        // The reader gets the target folder itself: the project's folder is the module's to name.
        ASSERT_EQ(dialog.conversions.size(), 1u);
        EXPECT_EQ(dialog.conversions[0].rulePath, c.ruleFile);
        EXPECT_EQ(dialog.conversions[0].targetFolder, dialog.target.Path());
    }
}

TEST(AppDialog, AFolderThatCannotBeMadeStillConverts)
{
    Dialog dialog;
    std::string missing = dialog.target / "missing";
    dialog.Choose("/rules/fail.pxkbx", missing);
    dialog.logic.OnOK();
    EXPECT_EQ(dialog.script.shown, Texts{kFailed});
    EXPECT_EQ(dialog.conversions.size(), 1u);
    EXPECT_EQ(dialog.Config(), missing + "\r\n");
}

TEST(AppDialog, CancelledChoosersChangeNothing)
{
    Dialog dialog;
    dialog.Choose("/rules/Plant.pxkbx", dialog.target.Path());
    dialog.script.ruleFile.reset();
    dialog.script.folder.reset();
    dialog.logic.OnBrowseRuleFile();
    dialog.logic.OnBrowseTargetFolder();
    EXPECT_EQ(dialog.face.shownRule, "/rules/Plant.pxkbx");
    EXPECT_EQ(dialog.face.shownTarget, dialog.target.Path());
    // Each folder chooser opens at the folder shown at that moment.
    ASSERT_EQ(dialog.script.folderStarts.size(), 2u);
    EXPECT_EQ(dialog.script.folderStarts[0], kDocuments);
    EXPECT_EQ(dialog.script.folderStarts[1], dialog.target.Path());
    dialog.logic.OnOK();
    EXPECT_EQ(ListFolder(dialog.target.Path()), Texts{"Plant"});
}

TEST(AppDialog, QuitSavesAndAsksNothing)
{
    Dialog dialog;
    dialog.Choose("/rules/Plant.pxkbx", dialog.target.Path());
    dialog.logic.OnQuit();
    EXPECT_EQ(dialog.script.shown, Texts{});
    EXPECT_TRUE(dialog.conversions.empty());
    EXPECT_EQ(ListFolder(dialog.app.Path()), Texts{});
}

TEST(AppDialog, OpensWithTheRememberedFolderOrTheDocuments)
{
    struct Case {
        const char* behaviour;
        std::optional<std::string> config;
        std::string shown;
    } cases[] = {
        {"no config.txt", std::nullopt, kDocuments},
        {"empty file", "", kDocuments},
        {"empty first line", "\r\n/srv/second\r\n", kDocuments},
        {"CR LF line", "/srv/VB projects\r\n/srv/other\r\n", "/srv/VB projects"},
        {"bare LF line", "/srv/lf\n", "/srv/lf"},
        {"no line end", "/srv/last", "/srv/last"},
    };
    for (const Case& c : cases) {
        Dialog dialog(c.config);
        EXPECT_EQ(dialog.face.shownTarget, c.shown) << c.behaviour;
        EXPECT_EQ(dialog.face.shownRule, "") << c.behaviour;
        EXPECT_TRUE(dialog.script.shown.empty()) << c.behaviour;
    }
}

TEST(AppDialog, EveryConversionThatRanSavesTheFolder)
{
    for (const char* ruleFile : {"/rules/Plant.pxkbx", "/rules/fail.pxkbx"}) {
        Dialog dialog("/srv/before\r\n");
        dialog.Choose(ruleFile, dialog.target.Path());
        dialog.logic.OnOK();
        EXPECT_EQ(dialog.conversions.size(), 1u);
        // Text mode on disk: the line ends in CR LF, and nothing else follows it.
        EXPECT_EQ(dialog.Config(), dialog.target.Path() + "\r\n") << ruleFile;
        // The folder made for a conversion that failed is not left behind.
        const bool failed = std::string(ruleFile).find("fail") != std::string::npos;
        EXPECT_EQ(ListFolder(dialog.target.Path()), failed ? Texts{} : Texts{"Plant"}) << ruleFile;
    }
}

TEST(AppDialog, AConfigThatCannotBeWrittenIsSkipped)
{
    Dialog dialog;
    // A folder in config.txt's place cannot be opened as a file, even by root. The dialog opens
    // again to read it.
    ASSERT_EQ(CFileSystem::CreateFolder(dialog.app / "config.txt"), CFileSystem::FolderOutcome::Created);
    dialog.logic.OnInitDialog();
    EXPECT_EQ(dialog.face.shownTarget, kDocuments);
    dialog.Choose("/rules/Plant.pxkbx", dialog.target.Path());
    dialog.logic.OnOK();
    EXPECT_EQ(dialog.script.shown, Texts{kConverted});
    EXPECT_EQ(ListFolder(dialog.app / "config.txt"), Texts{});
}

// config.txt lives beside the program while a file can be written there, otherwise in the user's
// folder, which is made when first needed; it is read back from where it was saved.
TEST(AppDialog, TheRememberedFolderIsKeptWhereAFileCanBeWritten)
{
    struct Row {
        const char* behaviour;
        bool programFolderTakesFiles;
        const char* besideProgram;  // config.txt's first line there; none: no file
        const char* inUserFolder;
        const char* loaded;
        const char* savedIn;  // "program" or "user"
        bool readOnlyBesideProgram = false;
        bool programInSystem = false;
    };
    std::vector<Row> rows = {
        {"nothing yet: the documents, then beside the program", true, nullptr, nullptr, "/docs", "program"},
        {"beside the program comes first", true, "/srv/a", "/srv/b", "/srv/a", "program"},
        {"the user's when the program's folder has none", true, nullptr, "/srv/b", "/srv/b", "program"},
        {"a program folder that takes no file", false, nullptr, "/srv/b", "/srv/b", "user"},
        {"a program folder that takes no file, and no user folder yet", false, nullptr, nullptr, "/docs", "user"},
        {"a program in a folder of the system: a default beside it gives way to the user's", true, "/srv/default",
         "/srv/b", "/srv/b", "user", false, true},
    };
    if (ReadOnlyHolds())
        rows.push_back({"a default beside the program that the user cannot write gives way to the user's", true,
                        "/srv/default", "/srv/b", "/srv/b", "user", true});
    for (const Row& row : rows) {
        TempFolder root;
        // A folder that does not exist takes no file, even from a user with every right.
        const std::string program = row.programFolderTakesFiles ? root.Path() + "/" : root / "missing/";
        const std::string user = root / "config home/rulecast/";
        if (row.besideProgram)
            WriteFileBytes(program + "config.txt", std::string(row.besideProgram) + "\n");
        if (row.readOnlyBesideProgram)
            MakeReadOnly(program + "config.txt");
        if (row.inUserFolder) {
            std::filesystem::create_directories(user);
            WriteFileBytes(user + "config.txt", std::string(row.inUserFolder) + "\n");
        }
        const CTargetFolderConfig config(CProgramFolders{program, "", user, row.programInSystem});
        std::string target;
        config.Load(target, "/docs");
        EXPECT_EQ(target, row.loaded) << row.behaviour;

        EXPECT_TRUE(config.Save("/srv/saved")) << row.behaviour;
        const std::string saved = (std::string(row.savedIn) == "user" ? user : program) + "config.txt";
        EXPECT_EQ(ReadFileBytes(saved), "/srv/saved\r\n") << row.behaviour;
        target.clear();
        config.Load(target, "/docs");
        EXPECT_EQ(target, "/srv/saved") << row.behaviour;
    }
}

// With the real reader: the project goes into the module's folder, beside the empty folder named
// after the rule file; a failure's reason and line go into the message's details, and so do a
// success's first ten warnings and the count of the others.
TEST(AppDialog, TheRealReaderWritesIntoTheModulesFolderOrGivesTheReason)
{
    Dialog dialog(std::nullopt, true);
    TempFolder rules;
    WriteFileBytes(rules / "Renamed.pxkbx", ReadFileBytes(std::string(RULECAST_SOURCE_DIR) + "/examples/Plant.pxkbx"));
    WriteFileBytes(rules / "Broken.pxkbx", "<Rules name=\"B\">\n  <Rule name=\"R\"/>\n</Rules>\n");
    std::string faulty = "<Rules name=\"W\">\n<Rule name=\"R\" displayname=\"r\" interactive=\"true\" secure=\"true\" "
                         "casefixed=\"true\"><![CDATA[Function R(a)\n";
    for (int i = 0; i < 12; ++i)
        faulty += "  a = 1 b\n";
    WriteFileBytes(rules / "Warned.pxkbx", faulty + "End Function\n]]></Rule>\n</Rules>\n");
    dialog.Choose(rules / "Renamed.pxkbx", dialog.target.Path());
    dialog.logic.OnOK();
    EXPECT_EQ(dialog.script.shown, Texts{kConverted});
    EXPECT_EQ(ListFolder(dialog.target.Path()), (Texts{"Plant", "Renamed"}));
    EXPECT_EQ(ListFolder(dialog.target / "Renamed"), Texts{});
    EXPECT_FALSE(ReadFileBytes(dialog.target / "Plant/Plant.vbp").empty());
    EXPECT_EQ(dialog.script.details.back(), "");

    dialog.Choose(rules / "Warned.pxkbx", dialog.target.Path());
    dialog.logic.OnOK();
    EXPECT_EQ(dialog.script.shown, (Texts{kConverted, kConverted}));
    std::string warnings;
    for (int line = 3; line <= 12; ++line)
        warnings += rules / "Warned.pxkbx" + ":" + std::to_string(line) + ": warning: VB6 compile error: Syntax error (expected: end of statement)\n";
    EXPECT_EQ(dialog.script.details.back(), warnings + "... and 2 more warnings");

    // The details end with the log the message sends the user to.
    Texts before = ListFolder(dialog.app.Path());
    dialog.Choose(rules / "Broken.pxkbx", dialog.target.Path());
    dialog.logic.OnOK();
    EXPECT_EQ(dialog.script.shown, (Texts{kConverted, kConverted, kFailed}));
    Texts after = ListFolder(dialog.app.Path());
    ASSERT_EQ(after.size(), before.size() + 1);
    Texts logs;
    std::set_difference(after.begin(), after.end(), before.begin(), before.end(), std::back_inserter(logs));
    EXPECT_EQ(dialog.script.details.back(),
              rules / "Broken.pxkbx" + ":2: error: Rule 'R' has no attribute 'displayname'\n" +
                  rules / "Broken.pxkbx" + ": note: log file " + dialog.app / logs[0]);
}
