#include <gtest/gtest.h>

#include <memory>
#include <optional>
#include <string>

#include "TestSupport.h"
#include "vbproject/VBClass.h"
#include "vbproject/VBFileTexts.h"
#include "vbproject/VBModule.h"
#include "vbproject/VBProject.h"

namespace {

// The heads as the golden trees hold them, whose host type library is registered at
// kGoldenLibrary.
const std::string kGoldenLibrary = "C:\\Program Files\\DUZIVozoz\\PXQServer.tlb";

std::string FirstLines(const std::string& text, size_t count)
{
    size_t end = 0;
    for (; count > 0 && end != std::string::npos; --count)
        end = text.find('\n', end) + 1;
    return text.substr(0, end);
}

// The class head of DataServiceImpl: 13 lines, the name quoted.
std::string ClassHeader()
{
    return FirstLines(GoldenText("minimal", "Minimal/DataServiceImpl.cls"), 13);
}

// The head of project Minimal's file, 29 lines, with the library at libraryPath.
std::string ProjectHeaderWith(const std::string& libraryPath)
{
    std::string header = FirstLines(GoldenText("minimal", "Minimal/Minimal.vbp"), 29);
    header.replace(header.find(kGoldenLibrary), kGoldenLibrary.size(), libraryPath);
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
         "DataServiceImpl.cls", ClassHeader()},
        {"module, 1 line, name bare", std::make_unique<CVBModule>("KBRoutine"), "KBRoutine.bas",
         "Attribute VB_Name = KBRoutine\n"},
        {"project, 29 lines, no library registered", std::make_unique<CVBProject>("Minimal"),
         "Minimal/Minimal.vbp", ProjectHeaderWith("ITEM_00001")},
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
        CVBProject project("Minimal");
        ASSERT_TRUE(project.Create(target_.Path()));
        ASSERT_TRUE(project.Complete());
        EXPECT_EQ(ReadFileBytes(target_ / "Minimal/Minimal.vbp"), WithCrLf(ProjectHeaderWith(path)));
    }
}

TEST_F(VBProjectFiles, EntriesListTheFilesOfTheProject)
{
    std::string entry;
    CVBFileTexts::GetClassEntry("DataServiceImpl", entry);
    EXPECT_EQ(entry, "Class=DataServiceImpl; DataServiceImpl.cls\n");
    CVBFileTexts::GetModuleEntry("GlobalCode", entry);
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
    MakeFolder(target_ / "Minimal");
    WriteFileBytes(target_ / "Minimal/Minimal.vbp", "old project file, much longer than nothing\n");
    WriteFileBytes(target_ / "Minimal/Notes.txt", "mine");
    CVBProject project("Minimal");
    EXPECT_TRUE(project.Create(target_.Path()));
    EXPECT_EQ(ReadFileBytes(target_ / "Minimal/Minimal.vbp"), "old project file, much longer than nothing\n");
    EXPECT_TRUE(project.Complete());
    EXPECT_EQ(ReadFileBytes(target_ / "Minimal/Minimal.vbp"), WithCrLf(ProjectHeaderWith("ITEM_00001")));
    EXPECT_EQ(ListFolder(target_ / "Minimal"), (std::vector<std::string>{"Minimal.vbp", "Notes.txt"}));
    EXPECT_EQ(ReadFileBytes(target_ / "Minimal/Notes.txt"), "mine");
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
