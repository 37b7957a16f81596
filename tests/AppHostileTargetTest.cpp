// Targets that refuse what the conversion writes: the conversion fails, its log says so, and the
// batch summary reports the error.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include <unistd.h>

#include "TestSupport.h"
#include "hostile/HostileProgram.h"

namespace fs = std::filesystem;

namespace {

const std::string kPlant = ReadFileBytes(std::string(RULECAST_SOURCE_DIR) + "/examples/Plant.pxkbx");

// A failed write of a class or module file shows in the log as its step line with "Fail!". When
// the project file itself cannot be written, the build stops before any file step, so the log ends
// with the last line of reading.
void ExpectLogOfFailedWrite(const std::string& log, bool projectFile, const std::string& what)
{
    if (projectFile) {
        EXPECT_EQ(log.find("Write "), std::string::npos) << what << "\n" << log;
        EXPECT_EQ(log.find(" ----> Fail!"), std::string::npos) << what << "\n" << log;
    } else {
        EXPECT_NE(log.find(" file. ----> Fail!\r\n"), std::string::npos) << what << "\n" << log;
    }
}

}  // namespace

TEST(AppHostileTarget, AGeneratedFileThatCannotBeWrittenFailsTheConversion)
{
    // A folder in the place of a file (in the project folder Plant). A full disk is in
    // AppSafeOutput, with the earlier files it must leave whole.
    for (const char* file : {"Plant.vbp", "DataServiceImpl.cls", "KBRoutine.bas", "PumpStatistics.cls"}) {
        hostile::Program program;
        program.WriteRule("Plant.pxkbx", kPlant);
        const std::string project = program.Target() + "/Plant";
        fs::create_directory(project);
        fs::create_directory(project + "/" + file);
        const std::vector<std::string> outside = program.OutsideTarget();

        const hostile::Outcome outcome = program.Convert("Plant.pxkbx");
        const std::string log = hostile::ExpectCleanFailure(program, outcome, "Plant.pxkbx", outside);
        ExpectLogOfFailedWrite(log, std::string(file) == "Plant.vbp", file);
    }
}

TEST(AppHostileTarget, AReadOnlyProjectFolderFailsTheConversion)
{
    if (::geteuid() == 0)
        GTEST_SKIP() << "root writes into read-only folders; ProjectFolderRefusedEvenToRoot covers it";
    hostile::Program program;
    program.WriteRule("Plant.pxkbx", kPlant);
    const std::string project = program.Target() + "/Plant";
    fs::create_directory(project);
    fs::permissions(project, fs::perms::owner_read | fs::perms::owner_exec);
    const std::vector<std::string> outside = program.OutsideTarget();

    const hostile::Outcome outcome = program.Convert("Plant.pxkbx");
    const std::string log = hostile::ExpectCleanFailure(program, outcome, "Plant.pxkbx", outside);
    ExpectLogOfFailedWrite(log, true, "read-only project folder");
    EXPECT_EQ(ListTree(program.Target()), std::vector<std::string>{});
}

// /proc/self exists as a folder, but no file can be created in it, by root either: a project
// named "self" in the target /proc meets an existing project folder it cannot write into.
TEST(AppHostileTarget, ProjectFolderRefusedEvenToRoot)
{
    hostile::Program program;
    program.WriteRule("self.pxkbx", "<r name=\"self\"/>");
    const std::vector<std::string> outside = program.OutsideTarget();
    const hostile::Outcome outcome = program.ConvertInto("self.pxkbx", "/proc");
    const std::string log = hostile::ExpectCleanFailure(program, outcome, "self.pxkbx", outside);
    ExpectLogOfFailedWrite(log, true, "/proc/self");
    EXPECT_FALSE(fs::exists("/proc/self/self.vbp"));
}
