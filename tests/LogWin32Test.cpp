#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <system_error>
#include <vector>

#include "TestSupport.h"
#include "log/TextFile.h"

// The console's handler removes the temporary files while they are open: they must share their
// removal, and a removed one is gone once its writer lets go of it.
TEST(LogWin32, ATemporaryFileMayBeRemovedWhileItIsWritten)
{
    TempFolder dir;
    CTextFile file;
    ASSERT_TRUE(file.OpenReplacing(dir / "KBRoutine.bas"));
    ASSERT_TRUE(file.Write("Attribute VB_Name = \"KBRoutine\"\n"));
    const std::vector<std::string> names = ListFolder(dir.Path());
    ASSERT_EQ(names.size(), 1u);
    std::error_code error;
    EXPECT_TRUE(std::filesystem::remove(FsPath(dir / names[0]), error)) << error.message();
    file.Close();
    EXPECT_EQ(ListFolder(dir.Path()), std::vector<std::string>{});
}
