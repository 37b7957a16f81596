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
    const std::string pipe = program.Work("a-pipe.pxkbx");
    EXPECT_EQ(outcome.err, pipe + ": error: cannot read " + pipe + ": not a regular file\n" + pipe +
                               ": note: log file " + program.LogOf(pipe) + "\n" + hostile::kFailedSummary + "\n");
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
    EXPECT_EQ(outcome.err, "/dev/zero: error: cannot read /dev/zero: not a regular file\n/dev/zero: note: log file " +
                               program.LogOf("/dev/zero") + "\n" + hostile::kFailedSummary + "\n");
}
