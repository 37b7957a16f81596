// Targets that refuse what the conversion writes: the conversion fails, its log says so, and the
// batch summary reports the error.
#include <gtest/gtest.h>

#include <filesystem>
#include <iostream>
#include <string>
#include <vector>

#include <fcntl.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
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

// Sets or clears attribute flags (FS_IMMUTABLE_FL, ...) of a file; false where the file system or
// the user cannot.
bool SetAttributes(const std::string& path, int flags)
{
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    const bool set = fd >= 0 && ::ioctl(fd, FS_IOC_SETFLAGS, &flags) == 0;
    if (fd >= 0)
        ::close(fd);
    return set;
}

const std::vector<std::string> kPlantFiles = {"DataServiceImpl.cls", "GlobalCode.bas", "KBRoutine.bas",
                                              "Plant.vbp", "PumpStatistics.cls"};

}  // namespace

TEST(AppHostileTarget, AFileThatCannotBeRenamedOverIsFoundBeforeAnythingIsReplaced)
{
    if (::geteuid() != 0)
        GTEST_SKIP() << "attributes and files of another user need root";
    const struct Row {
        const char* behaviour;
        // The file refused, the first one the conversion meets.
        const char* file;
        int attributes;
        // Run by a user without privileges, in a folder with the sticky bit, where the file is root's.
        bool stickyFolder;
        const char* reason;
    } rows[] = {
        {"an immutable file", "KBRoutine.bas", FS_IMMUTABLE_FL, false, "it is immutable"},
        {"an append-only file", "KBRoutine.bas", FS_APPEND_FL, false, "it is append-only"},
        {"another user's file in a folder whose entries only their owners may rename", "Plant.vbp", 0, true,
         "it belongs to another user in a folder whose entries only their owners may rename"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.behaviour);
        hostile::Program program;
        program.WriteRule("Plant.pxkbx", kPlant);
        const std::string project = program.Target() + "/Plant";
        ASSERT_EQ(program.Convert("Plant.pxkbx").exitCode, 0);
        const std::string file = project + "/" + row.file;
        const std::string earlier = ReadFileBytes(file);
        if (row.attributes != 0 && !SetAttributes(file, row.attributes)) {
            std::cout << "passed over where the file system keeps no attributes: " << row.behaviour << "\n";
            continue;
        }
        RunLimits limits;
        if (row.stickyFolder) {
            program.OpenToAll();
            ASSERT_EQ(::chmod(project.c_str(), 01777), 0);
            for (const std::string& name : ListFolder(project))
                ASSERT_EQ(::chmod((project + "/" + name).c_str(), 0666), 0);
            limits.unprivileged = true;
        }
        const hostile::Outcome outcome = program.Convert("Plant.pxkbx", limits);
        SetAttributes(file, 0);
        EXPECT_EQ(outcome.exitCode, 1);
        EXPECT_EQ(outcome.err.substr(0, outcome.err.find('\n')),
                  program.Work("Plant.pxkbx") + ": error: cannot replace " + file + ": " + row.reason);
        EXPECT_EQ(ReadFileBytes(file), earlier);
        EXPECT_EQ(ListFolder(project), kPlantFiles);
    }
}

// As editors and rsync do: root converting into a user's project leaves her files hers.
TEST(AppHostileTarget, AReplacedFileKeepsItsOwnerAndGroup)
{
    if (::geteuid() != 0)
        GTEST_SKIP() << "giving files to another user needs root";
    hostile::Program program;
    program.WriteRule("Plant.pxkbx", kPlant);
    ASSERT_EQ(program.Convert("Plant.pxkbx").exitCode, 0);
    const std::string file = program.Target() + "/Plant/KBRoutine.bas";
    ASSERT_EQ(::chown(file.c_str(), 4242, 4343), 0);
    ASSERT_EQ(::chmod(file.c_str(), 0640), 0);
    ASSERT_EQ(program.Convert("Plant.pxkbx").exitCode, 0);
    struct stat info {};
    ASSERT_EQ(::stat(file.c_str(), &info), 0);
    EXPECT_EQ(info.st_uid, 4242u);
    EXPECT_EQ(info.st_gid, 4343u);
    EXPECT_EQ(info.st_mode & 0777, 0640u);
}

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

// An installed copy in a folder its user cannot write still leaves a log, in the user's state
// folder, and the failure's note names it there.
TEST(AppHostileTarget, AProgramFolderThatTakesNoLogSendsItToTheUsersStateFolder)
{
    struct Row {
        const char* behaviour;
        std::string stateHome;  // HOME stands for the home folder
        const char* logFolder;  // below the home folder
    };
    const Row rows[] = {
        {"XDG_STATE_HOME empty", "", ".local/state/rulecast"},
        {"XDG_STATE_HOME not absolute", "state", ".local/state/rulecast"},
        {"XDG_STATE_HOME absolute", "HOME/xdg state", "xdg state/rulecast"},
    };
    TempFolder programFolder, work;
    const std::string program = CopyProgram(programFolder.Path());
    ASSERT_EQ(::chmod(programFolder.Path().c_str(), 0555), 0);
    OpenToAll(work.Path());
    WriteFileBytes(work / "broken.pxkbx", "<not xml");
    for (const Row& row : rows) {
        TempFolder home;
        OpenToAll(home.Path());
        std::string stateHome = row.stateHome;
        if (stateHome.rfind("HOME", 0) == 0)
            stateHome.replace(0, 4, home.Path());
        RunLimits limits;
        limits.unprivileged = true;
        limits.environment = {"HOME=" + home.Path(), "XDG_STATE_HOME=" + stateHome};
        const RunResult result = RunProgram(program, {"broken.pxkbx", "."}, work.Path(), limits);
        EXPECT_EQ(result.exitCode, 1) << row.behaviour << "\n" << result.err;
        const std::string logFolder = home / row.logFolder;
        const std::vector<std::string> logs = ListFolder(logFolder);
        ASSERT_EQ(logs.size(), 1u) << row.behaviour << "\n" << result.err;
        const std::string log = logFolder + "/" + logs[0];
        const std::string error = result.err.substr(0, result.err.find('\n'));
        EXPECT_EQ(result.err, error + "\n" + work / "broken.pxkbx: note: log file " + log +
                                  "\nError occurs during conversion! Please check the log file.\n")
            << row.behaviour;
        hostile::WithoutFailureLine(ReadFileBytes(log), error);
        struct stat info {};
        EXPECT_EQ(::stat(logFolder.c_str(), &info), 0);
        EXPECT_EQ(info.st_mode & 0777, 0700u) << row.behaviour;
        EXPECT_EQ(ListFolder(programFolder.Path()), std::vector<std::string>{"rulecast"}) << row.behaviour;
    }
    // Where no folder takes the log, the conversion goes on without one, and a note says why.
    RunLimits limits;
    limits.unprivileged = true;
    limits.environment = {"XDG_STATE_HOME=/proc/rulecast"};
    const RunResult result = RunProgram(program, {"broken.pxkbx", "."}, work.Path(), limits);
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_EQ(result.err.substr(result.err.find('\n') + 1),
              work / "broken.pxkbx: note: no log file was written: cannot create folder /proc/rulecast/rulecast/\n"
                     "Error occurs during conversion! Please check the log file.\n");
}

// In a folder that others may write to, a link at the project's name leads the conversion only
// when it is the user's or root's; a rule file is found by its name in a folder that may be
// entered but not listed.
TEST(AppHostileTarget, LinksOfOtherUsersAndFoldersThatCannotBeListed)
{
    if (::geteuid() != 0)
        GTEST_SKIP() << "giving a link to another user needs root";
    hostile::Program program;
    program.WriteRule("Plant.pxkbx", "<Rules name=\"Plant\"/>\n");
    ASSERT_TRUE(MakeFolder(program.Work("victim")));
    const std::string link = program.Target() + "/Plant";
    fs::create_directory_symlink(program.Work("victim"), link);
    ASSERT_EQ(::lchown(link.c_str(), 4242, 4242), 0);
    RunResult result = program.Convert("Plant.pxkbx");
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_EQ(result.err.substr(0, result.err.find('\n')),
              program.Work("Plant.pxkbx") + ": error: project folder '" + link + "' is a link owned by another user");
    EXPECT_EQ(ListFolder(program.Work("victim")), std::vector<std::string>{});
    ASSERT_EQ(::lchown(link.c_str(), 0, 0), 0);
    EXPECT_EQ(program.Convert("Plant.pxkbx").exitCode, 0);
    EXPECT_EQ(ListFolder(program.Work("victim")).size(), 4u);

    TempFolder work;
    OpenToAll(work.Path());
    ASSERT_TRUE(MakeFolder(work / "private"));
    WriteFileBytes(work / "private/Plant.pxkbx", "<Rules name=\"Plant\"/>\n");
    ASSERT_EQ(::chmod((work / "private").c_str(), 0711), 0);
    RunLimits limits;
    limits.unprivileged = true;
    result = RunProgram(RULECAST_BINARY, {"private/Plant.pxkbx", "."}, work.Path(), limits);
    EXPECT_EQ(result.exitCode, 0) << result.err;
    EXPECT_EQ(ListFolder(work / "Plant").size(), 4u);
}
