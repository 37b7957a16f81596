#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include "TestSupport.h"
#include "platform/InputFile.h"
#include "platform/ProgramFolders.h"

// What stands at a rule file's name when it is opened may have been swapped since it was looked
// at: the open itself must neither wait for a pipe's writer nor take what is not a regular file.
TEST(PlatformInputFile, OpensRegularFilesOnlyAndNeverWaits)
{
    TempFolder folder;
    ASSERT_EQ(::mkfifo((folder / "pipe").c_str(), 0666), 0);
    ASSERT_EQ(::symlink((folder / "pipe").c_str(), (folder / "link").c_str()), 0);
    WriteFileBytes(folder / "file", "<r/>");
    struct Case {
        std::string path;
        std::string errorText;  // empty: opens
    };
    const Case cases[] = {
        {folder / "pipe", CInputFile::kNotAFile},
        {folder / "link", CInputFile::kNotAFile},
        {"/dev/zero", CInputFile::kNotAFile},
        {folder.Path(), "Is a directory"},
        {folder / "none", "No such file or directory"},
        {folder / "file", ""},
    };
    for (const Case& c : cases) {
        // A blocking open ends the test program instead of hanging it.
        ::alarm(10);
        CInputFile file;
        EXPECT_EQ(file.Open(c.path), c.errorText.empty()) << c.path;
        ::alarm(0);
        EXPECT_EQ(file.ErrorText(), c.errorText) << c.path;
    }
}

// An installed copy writes nothing beside itself, whoever runs it; a copy in a folder of its
// user's, root's own included, does.
TEST(PlatformProgramFolders, FoldersOfTheSystemAreRootsBelowTheInstallPlaces)
{
    TempFolder mine;
    ASSERT_TRUE(MakeFolder(mine / "usr"));
    const struct Row {
        std::string folder;
        bool system;
    } rows[] = {
        {"/usr/bin/", true}, {"/usr/local/bin/", true}, {"/bin/", true}, {"/opt/", true},
        {mine.Path() + "/", false}, {mine / "usr/", false}, {"/usr/no such folder/", false},
    };
    for (const Row& row : rows)
        EXPECT_EQ(CProgramFolders::IsSystemFolder(row.folder), row.system) << row.folder;
}
