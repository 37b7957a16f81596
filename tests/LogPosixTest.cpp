#include <gtest/gtest.h>

#include "log/TextFile.h"

TEST(LogTextFile, AFullDeviceIsReportedNotIgnored)
{
    CTextFile full;
    ASSERT_TRUE(full.Open("/dev/full"));
    EXPECT_FALSE(full.Write("text that does not fit\n"));
    EXPECT_EQ(full.ErrorText(), "No space left on device");
}
