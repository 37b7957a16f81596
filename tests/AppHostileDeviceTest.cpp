// A pipe or a device among the rule files must neither hang the batch nor exhaust its memory; a
// full device among the generated files fails the conversion and says why.
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include "TestSupport.h"
#include "hostile/HostileProgram.h"
#include "vbproject/VBModule.h"

using hostile::Limits;
using hostile::Outcome;
using hostile::Program;

TEST(AppHostileDevice, APipeFailsAtOnceAndTheBatchGoesOn)
{
    Program program;
    ASSERT_EQ(::mkfifo(program.Work("a-pipe.pxkbx").c_str(), 0666), 0);
    program.WriteRule("b-good.pxkbx", "<Rules name=\"Good\"/>\n");
    Limits limits;
    limits.seconds = 30;
    Outcome outcome = program.Convert("*.pxkbx", limits);
    EXPECT_FALSE(outcome.timedOut);
    EXPECT_EQ(outcome.exitCode, 1);
    EXPECT_EQ(outcome.err, program.Work("a-pipe.pxkbx") +
                               ": error: cannot read " + program.Work("a-pipe.pxkbx") +
                               ": not a regular file\n" + hostile::kFailedSummary + "\n");
    EXPECT_EQ(ListFolder(program.Target()), std::vector<std::string>{"Good"});
}

TEST(AppHostileDevice, AnEndlessDeviceIsNotRead)
{
    Program program;
    Limits limits;
    limits.seconds = 30;
    Outcome outcome = program.Convert("/dev/zero", limits);
    EXPECT_FALSE(outcome.timedOut);
    EXPECT_EQ(outcome.exitCode, 1);
    EXPECT_LT(outcome.maxRssKb, 100 * 1024);
    EXPECT_EQ(outcome.err, std::string("/dev/zero: error: cannot read /dev/zero: not a regular file\n") +
                               hostile::kFailedSummary + "\n");
}

TEST(AppHostileDevice, AFullDeviceInPlaceOfAGeneratedFileIsReported)
{
    TempFolder target;
    ASSERT_EQ(::symlink("/dev/full", (target / "Full.bas").c_str()), 0);
    CVBModule fullDisk("Full");
    EXPECT_FALSE(fullDisk.Create(target.Path()));
    EXPECT_EQ(fullDisk.ErrorText(), "cannot write " + target / "Full.bas" + ": No space left on device");

    Program program;
    program.WriteRule("Plant.pxkbx", "<Rules name=\"Plant\"/>\n");
    ASSERT_TRUE(MakeFolder(program.Target() + "/Plant"));
    ASSERT_EQ(::symlink("/dev/full", (program.Target() + "/Plant/KBRoutine.bas").c_str()), 0);
    const Outcome outcome = program.Convert("Plant.pxkbx");
    EXPECT_EQ(outcome.exitCode, 1);
    EXPECT_EQ(outcome.err, program.Work("Plant.pxkbx") + ": error: cannot write " + program.Target() +
                               "/Plant/KBRoutine.bas: No space left on device\n" + hostile::kFailedSummary + "\n");
}
