#include <gtest/gtest.h>

#include <memory>
#include <optional>
#include <string>

#include "TestSupport.h"
#include "kbitems/VBUtility.h"
#include "vbproject/VBClass.h"
#include "vbproject/VBModule.h"
#include "vbproject/VBProject.h"

namespace {

const std::string kClassHeader =
    "VERSION 1.0 CLASS\n"
    "BEGIN\n"
    "  MultiUse = -1  'True\n"
    "  Persistable = 0  'NotPersistable\n"
    "  DataBindingBehavior = 0  'vbNone\n"
    "  DataSourceBehavior  = 0  'vbNone\n"
    "  MTSTransactionMode  = 0  'NotAnMTSObject\n"
    "END\n"
    "Attribute VB_Name = \"DataServiceImpl\"\n"
    "Attribute VB_GlobalNameSpace = False\n"
    "Attribute VB_Creatable = True\n"
    "Attribute VB_PredeclaredId = False\n"
    "Attribute VB_Exposed = True\n";

// Line 2 holds the library path, which depends on the registry; {LIB} stands for it.
const std::string kProjectHeader =
    "Type=OleDll\n"
    "Reference=*\\G{38000000-F1C5-412B-B40F-DBFCAEFAAFB6}#97.0#0#{LIB}#DUZIVozoz Version 38.0\n"
    "Startup=\"(None)\"\n"
    "Command32=\"\"\n"
    "Name=Plant\n"
    "HelpContextID=\"0\"\n"
    "CompatibleMode=\"0\"\n"
    "MajorVer=1\n"
    "MinorVer=0\n"
    "RevisionVer=0\n"
    "AutoIncrementVer=0\n"
    "ServerSupportFiles=0\n"
    "VersionCompanyName=\"software\"\n"
    "CompilationType=0\n"
    "OptimizationType=0\n"
    "FavorPentiumPro(tm)=0\n"
    "CodeViewDebugInfo=0\n"
    "NoAliasing=0\n"
    "BoundsCheck=0\n"
    "OverflowCheck=0\n"
    "FlPointCheck=0\n"
    "FDIVCheck=0\n"
    "UnroundedFP=0\n"
    "StartMode=1\n"
    "Unattended=0\n"
    "Retained=0\n"
    "ThreadPerObject=0\n"
    "MaxNumberOfThreads=1\n"
    "ThreadingModel=1\n";

std::string ProjectHeaderWith(const std::string& libraryPath)
{
    std::string header = kProjectHeader;
    header.replace(header.find("{LIB}"), 5, libraryPath);
    return header;
}

// Project headers read the host's registry: every test here starts with no type library
// registered, so the machine's own registration never leaks in.
class VBProjectFiles : public ::testing::Test {
protected:
    std::optional<HostTypeLibrary> registered_{std::in_place, std::nullopt};
    TempFolder target_;
};

} // namespace

TEST_F(VBProjectFiles, WritesEachHeaderAndTheTextAfterItWithCrLf)
{
    struct HeaderCase {
        const char* behaviour;
        std::unique_ptr<CVBItem> item;
        std::string file;
        std::string header;
    };
    HeaderCase cases[] = {
        {"class, 13 lines, name quoted", std::make_unique<CVBClass>("DataServiceImpl"),
         "DataServiceImpl.cls", kClassHeader},
        {"module, 1 line, name bare", std::make_unique<CVBModule>("KBRoutine"), "KBRoutine.bas",
         "Attribute VB_Name = KBRoutine\n"},
        {"project, 29 lines, no library registered", std::make_unique<CVBProject>("Plant"),
         "Plant/Plant.vbp", ProjectHeaderWith("ITEM_00001")},
    };
    for (HeaderCase& c : cases) {
        SCOPED_TRACE(c.behaviour);
        std::string path = target_ / c.file;
        ASSERT_TRUE(c.item->Create(target_.Path()));
        EXPECT_TRUE(c.item->WriteText("Option Explicit\n\nDim x"));
        // Nothing takes the file's name before it is complete.
        EXPECT_FALSE(std::filesystem::exists(path));
        EXPECT_TRUE(c.item->Complete());
        EXPECT_EQ(ReadFileBytes(path), WithCrLf(c.header + "Option Explicit\n\nDim x"));
        EXPECT_EQ(c.item->ErrorText(), "");
    }
}

TEST_F(VBProjectFiles, ProjectReferencesTheRegisteredTypeLibrary)
{
    const std::string longPath = "C:\\" + std::string(300, 'p') + ".tlb";
    for (const std::string& path : {std::string("C:\\Program Files\\Host\\host.tlb"),
                                   std::string("D:\\Gr\xC3\xBC\xC3\x9F" "e\\\xE6\x97\xA5\xE6\x9C\xAC.tlb"), longPath}) {
        registered_.reset();
        registered_.emplace(path);
        CVBProject project("Plant");
        ASSERT_TRUE(project.Create(target_.Path()));
        ASSERT_TRUE(project.Complete());
        EXPECT_EQ(ReadFileBytes(target_ / "Plant/Plant.vbp"), WithCrLf(ProjectHeaderWith(path)));
    }
}

TEST_F(VBProjectFiles, EntriesListTheFilesOfTheProject)
{
    std::string entry;
    CVBUtility::GetClassEntry("DataServiceImpl", entry);
    EXPECT_EQ(entry, "Class=DataServiceImpl; DataServiceImpl.cls\n");
    CVBUtility::GetModuleEntry("GlobalCode", entry);
    EXPECT_EQ(entry, "Module=GlobalCode; GlobalCode.bas\n");
}

TEST_F(VBProjectFiles, ProjectUnderAMissingTargetFolderWritesNothing)
{
    std::string missing = target_ / "missing";
    CVBProject project("Plant");
    EXPECT_FALSE(project.Create(missing));
    EXPECT_TRUE(ListTree(target_.Path()).empty());
    EXPECT_EQ(project.ErrorText(),
              "cannot create folder " + JoinedPath(missing, "Plant") + ": No such file or directory");
    EXPECT_FALSE(project.WriteText("Class=X; X.cls\n"));
    EXPECT_TRUE(ListTree(target_.Path()).empty());
}

TEST_F(VBProjectFiles, ExistingProjectFolderIsReused)
{
    MakeFolder(target_ / "Plant");
    WriteFileBytes(target_ / "Plant/Plant.vbp", "old project file, much longer than nothing\n");
    WriteFileBytes(target_ / "Plant/Notes.txt", "mine");
    CVBProject project("Plant");
    EXPECT_TRUE(project.Create(target_.Path()));
    EXPECT_EQ(ReadFileBytes(target_ / "Plant/Plant.vbp"), "old project file, much longer than nothing\n");
    EXPECT_TRUE(project.Complete());
    EXPECT_EQ(ReadFileBytes(target_ / "Plant/Plant.vbp"), WithCrLf(ProjectHeaderWith("ITEM_00001")));
    EXPECT_EQ(ListFolder(target_ / "Plant"), (std::vector<std::string>{"Notes.txt", "Plant.vbp"}));
    EXPECT_EQ(ReadFileBytes(target_ / "Plant/Notes.txt"), "mine");
}

TEST_F(VBProjectFiles, FilesThatCannotBeWrittenAreReported)
{
    MakeFolder(target_ / "Pump.cls");
    CVBClass folderInTheWay("Pump");
    EXPECT_FALSE(folderInTheWay.Create(target_.Path()));
    EXPECT_EQ(folderInTheWay.ErrorText(), "cannot write " + JoinedPath(target_.Path(), "Pump.cls") + ": Is a directory");
    EXPECT_FALSE(folderInTheWay.WriteText("Dim r\n"));
    // The first failure is the reason; later ones follow from it.
    EXPECT_EQ(folderInTheWay.ErrorText(), "cannot write " + JoinedPath(target_.Path(), "Pump.cls") + ": Is a directory");

    CVBModule neverCreated("Lost");
    EXPECT_FALSE(neverCreated.Complete());
    EXPECT_EQ(neverCreated.ErrorText(), "cannot write Lost: file not open");

    WriteFileBytes(target_ / "Plant", "a file where the project folder should be");
    CVBProject fileInTheWay("Plant");
    EXPECT_FALSE(fileInTheWay.Create(target_.Path()));
    EXPECT_EQ(fileInTheWay.ErrorText(),
              "cannot write " + JoinedPath(JoinedPath(target_.Path(), "Plant"), "Plant.vbp") + ": Not a directory");
}
