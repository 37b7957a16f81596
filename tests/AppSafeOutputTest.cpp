// What a conversion writes, through the real program: whole files in the project folder and
// nowhere else, never a name that cannot be a file, never one file's text over another's.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <csignal>
#include <filesystem>
#include <future>
#include <functional>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "TestSupport.h"
#include "hostile/HostileProgram.h"
#include "platform/FolderLock.h"

namespace fs = std::filesystem;

namespace {

// A project of four files and one global-code class, Pump.
std::string RuleFile(const std::string& moduleName)
{
    return "<KnowledgeBase name=\"" + moduleName + "\">\n"
           "<GlobalCode><![CDATA[\nClass Pump\nPublic Rate As Double\nEnd Class\n]]></GlobalCode>\n"
           "<Rule name=\"R\" displayname=\"d\" interactive=\"true\" secure=\"true\" casefixed=\"true\">"
           "<![CDATA[Public Function R() As Variant\nR = 1\nEnd Function\n]]></Rule>\n"
           "</KnowledgeBase>\n";
}

// A project whose routines take a while to write: long enough to be interrupted while writing.
std::string LargeRuleFile()
{
    std::string rules;
    for (int i = 0; i < 40000; ++i)
        rules += "<Rule name=\"R" + std::to_string(i) + "\" displayname=\"d\" interactive=\"true\" secure=\"true\" "
                 "casefixed=\"true\"><![CDATA[Public Function R" + std::to_string(i) + "() As Variant\nR" +
                 std::to_string(i) + " = 1\nEnd Function\n]]></Rule>\n";
    return "<KnowledgeBase name=\"Plant\">\n" + rules + "</KnowledgeBase>\n";
}

const std::vector<std::string> kBatch = {"*.pxkbx", "target"};

const std::vector<std::string> kPlantFiles = {"DataServiceImpl.cls", "GlobalCode.bas", "KBRoutine.bas",
                                              "Plant.vbp", "Pump.cls"};

struct Case {
    const char* behaviour;
    // Rule files, and what stands in the target and beside it beforehand.
    std::function<void(const hostile::Program&)> setup;
    std::vector<std::string> args;
    hostile::Limits limits;
    int exitCode;
    // A line on standard error, WORK/ standing for the work folder; empty: nothing is said.
    std::string said;
    // The target folder's entries afterwards.
    std::vector<std::string> inTarget;
    // Entries beside the target that the run may add; nothing else there may change.
    std::vector<std::string> madeOutside = {};
    // Anything else on disk afterwards.
    std::function<void(const hostile::Program&)> check = nullptr;
    std::optional<Need> needs = std::nullopt;
};

std::string Project(const hostile::Program& program, const std::string& name = "Plant")
{
    return program.Target() + "/" + name;
}

void ExpectFiles(const std::string& folder, const std::vector<std::string>& files)
{
    EXPECT_EQ(ListFolder(folder), files) << folder;
}

// An earlier project in the target, each file saying which it is.
void WriteEarlierPlant(const hostile::Program& p)
{
    fs::create_directory(Project(p));
    for (const std::string& file : kPlantFiles)
        WriteFileBytes(Project(p) + "/" + file, "earlier " + file);
}

void ExpectEarlierPlant(const hostile::Program& p)
{
    for (const std::string& file : kPlantFiles)
        EXPECT_EQ(ReadFileBytes(Project(p) + "/" + file), "earlier " + file);
    ExpectFiles(Project(p), kPlantFiles);
}

bool WritesTemporaries(const std::string& work)
{
    for (const std::string& name : ListFolder(work + "/target/Plant"))
        if (name.starts_with(".rulecast-"))
            return true;
    return false;
}

// What a conversion killed while it replaced files leaves: GlobalCode.bas kept aside and replaced,
// a new class file in place, and the journal that names them.
void WriteKilledReplace(const hostile::Program& p)
{
    WriteEarlierPlant(p);
    fs::rename(Project(p) + "/GlobalCode.bas", Project(p) + "/.rulecast-000000000002.bak");
    WriteFileBytes(Project(p) + "/GlobalCode.bas", "new GlobalCode.bas");
    WriteFileBytes(Project(p) + "/Stale.cls", "new Stale.cls");
    WriteFileBytes(Project(p) + "/.rulecast-journal",
                   "rulecast replace journal 1\r\nnew Stale.cls\r\nkeep .rulecast-000000000002.bak GlobalCode.bas\r\nend\r\n");
}

const std::vector<std::string> kPlant = {"Plant"};
const std::vector<std::string> kNothing = {};
const std::string kUsage = "Usage: ";

const Case kCases[] = {
    {"a link at a generated file's name is replaced, never written through",
     [](const hostile::Program& p) {
         p.WriteRule("Plant.pxkbx", RuleFile("Plant"));
         p.WriteRule("outside.bas", "mine");
         fs::create_directory(Project(p));
         fs::create_symlink(p.Work("outside.bas"), Project(p) + "/GlobalCode.bas");
         fs::create_symlink(p.Work("made-through-link.cls"), Project(p) + "/Pump.cls");
     },
     kBatch, {}, 0, "", kPlant, {},
     [](const hostile::Program& p) {
         EXPECT_EQ(ReadFileBytes(p.Work("outside.bas")), "mine");
         EXPECT_FALSE(fs::is_symlink(Project(p) + "/GlobalCode.bas"));
         EXPECT_EQ(ReadFileBytes(Project(p) + "/Pump.cls").rfind("VERSION 1.0 CLASS", 0), 0u);
         ExpectFiles(Project(p), kPlantFiles);
     },
     Need::kSymbolicLinks},
    {"a project folder that is a link is followed",
     [](const hostile::Program& p) {
         p.WriteRule("Plant.pxkbx", RuleFile("Plant"));
         fs::create_directory(p.Work("elsewhere"));
         fs::create_directory_symlink(p.Work("elsewhere"), Project(p));
     },
     kBatch, {}, 0, "", kPlant,
     {"elsewhere/DataServiceImpl.cls", "elsewhere/GlobalCode.bas", "elsewhere/KBRoutine.bas",
      "elsewhere/Plant.vbp", "elsewhere/Pump.cls"},
     nullptr, Need::kSymbolicLinks},
    {"a file past the size limit fails like a full disk, and the earlier project stays exactly as it was",
     [](const hostile::Program& p) {
         p.WriteRule("Plant.pxkbx", RuleFile("Plant"));
         WriteEarlierPlant(p);
     },
     // The service class is larger than the limit; the project file's header fits, not its entries.
     kBatch, {.fileBytes = 600}, 1,
     "WORK/Plant.pxkbx: error: cannot write target/Plant/DataServiceImpl.cls: File too large", kPlant, {},
     ExpectEarlierPlant, Need::kFileSizeLimit},
    {"a first conversion that fails leaves no project folder, and its log says it was cut short",
     [](const hostile::Program& p) { p.WriteRule("Plant.pxkbx", RuleFile("Plant")); },
     kBatch, {.fileBytes = 600}, 1, " is incomplete: File too large", kNothing, {},
     [](const hostile::Program& p) {
         const std::vector<std::string> logs = p.LogPaths();
         ASSERT_EQ(logs.size(), 1u);
         EXPECT_EQ(ReadFileBytes(logs[0]).size(), 600u);
     },
     Need::kFileSizeLimit},
    {"a file its user may not write is refused before anything is replaced",
     [](const hostile::Program& p) {
         p.WriteRule("Plant.pxkbx", RuleFile("Plant"));
         WriteEarlierPlant(p);
         p.OpenToAll();
         for (const std::string& entry : ListFolder(Project(p)))
             OpenToAll(Project(p) + "/" + entry);
         OpenToAll(Project(p));
         MakeReadOnly(Project(p) + "/GlobalCode.bas");
     },
     kBatch, {.unprivileged = true}, 1,
     "WORK/Plant.pxkbx: error: cannot replace " + JoinedPath(JoinedPath("target", "Plant"), "GlobalCode.bas") +
         ": it is read-only", kPlant, {},
     ExpectEarlierPlant},
    {"a replaced file keeps its permission bits",
     [](const hostile::Program& p) {
         p.WriteRule("Plant.pxkbx", RuleFile("Plant"));
         WriteEarlierPlant(p);
         fs::permissions(Project(p) + "/KBRoutine.bas", fs::perms::owner_read | fs::perms::owner_write);
     },
     kBatch, {}, 0, "", kPlant, {},
     [](const hostile::Program& p) {
         EXPECT_EQ(fs::status(Project(p) + "/KBRoutine.bas").permissions(),
                   fs::perms::owner_read | fs::perms::owner_write);
         EXPECT_EQ(ReadFileBytes(Project(p) + "/KBRoutine.bas").rfind("Attribute VB_Name = KBRoutine", 0), 0u);
     },
     Need::kPermissionBits},
    {"temporary files that a killed conversion left are removed by the next one",
     [](const hostile::Program& p) {
         p.WriteRule("Plant.pxkbx", RuleFile("Plant"));
         WriteEarlierPlant(p);
         WriteFileBytes(Project(p) + "/.rulecast-0123456789ab.tmp", "left by a killed conversion");
     },
     kBatch, {}, 0, "", kPlant, {}, [](const hostile::Program& p) { ExpectFiles(Project(p), kPlantFiles); }},
    {"an interrupt removes the temporary files and ends the program as the signal does",
     [](const hostile::Program& p) {
         p.WriteRule("Plant.pxkbx", LargeRuleFile());
         WriteEarlierPlant(p);
     },
     kBatch, {.signal = SIGINT, .signalWhen = WritesTemporaries}, 128 + SIGINT, "", kPlant, {}, ExpectEarlierPlant,
     Need::kSignals},
    {"a termination request removes the temporary files and ends the program as the signal does",
     [](const hostile::Program& p) {
         p.WriteRule("Plant.pxkbx", LargeRuleFile());
         WriteEarlierPlant(p);
     },
     kBatch, {.signal = SIGTERM, .signalWhen = WritesTemporaries}, 128 + SIGTERM, "", kPlant, {}, ExpectEarlierPlant,
     Need::kSignals},
    {"a conversion into a project that a killed one left half replaced puts it back first, and says so once",
     [](const hostile::Program& p) {
         p.WriteRule("Plant.pxkbx", RuleFile("Plant"));
         WriteKilledReplace(p);
     },
     kBatch, {}, 0,
     "rulecast: note: a conversion into " + JoinedPath("target", "Plant") +
         " was cut short before it could finish; its earlier files are back\n",
     kPlant, {}, [](const hostile::Program& p) { ExpectFiles(Project(p), kPlantFiles); }},
    {"--check, which writes nothing, leaves such a project alone",
     [](const hostile::Program& p) {
         p.WriteRule("Plant.pxkbx", RuleFile("Plant"));
         WriteKilledReplace(p);
     },
     {"--check", "*.pxkbx"}, {}, 0, "", kPlant, {},
     [](const hostile::Program& p) {
         EXPECT_EQ(ListFolder(Project(p)).size(), kPlantFiles.size() + 3);
         EXPECT_EQ(ReadFileBytes(Project(p) + "/GlobalCode.bas"), "new GlobalCode.bas");
     }},
    {"a module name holding a line break is refused before anything is written",
     [](const hostile::Program& p) {
         p.WriteRule("evil.pxkbx", RuleFile("evil&#13;&#10;ExeName32=&quot;evil.dll&quot;"));
     },
     kBatch, {}, 1,
     "WORK/evil.pxkbx: error: unsafe module name 'evil\\r\\nExeName32=\"evil.dll\"': it holds a control character",
     kNothing},
    {"a class name that Windows keeps for a device is refused before anything is written",
     [](const hostile::Program& p) {
         p.WriteRule("Plant.pxkbx",
                     "<r name=\"Plant\"><GlobalCode><![CDATA[\nClass Nul.txt\nEnd Class\n]]></GlobalCode></r>");
     },
     kBatch, {}, 1, "WORK/Plant.pxkbx: error: unsafe class name 'Nul.txt': it is a reserved device name", kNothing},
    {"two classes of one name ignoring case are refused with both lines",
     [](const hostile::Program& p) {
         p.WriteRule("Plant.pxkbx", "<r name=\"Plant\">\n<GlobalCode><![CDATA[\nClass Foo\nDim a\nEnd Class\n"
                                    "\n\n\nclass FOO\nDim b\nEnd Class\n]]></GlobalCode>\n</r>\n");
     },
     kBatch, {}, 1,
     "WORK/Plant.pxkbx:9: error: class 'FOO' is defined twice in the global code (lines 3 and 9)", kNothing},
    {"a class named like the service class is refused",
     [](const hostile::Program& p) {
         p.WriteRule("Plant.pxkbx", "<r name=\"Plant\">\r\n<GlobalCode>\r\n<![CDATA[Dim a\r\n"
                                    "Class dataserviceimpl\r\nEnd Class\r\n]]></GlobalCode></r>");
     },
     kBatch, {}, 1,
     "WORK/Plant.pxkbx:4: error: class name 'dataserviceimpl' is taken by the generated service class", kNothing},
    {"two classes of one name ignoring case beyond ASCII are refused, as NTFS keeps one file of them",
     [](const hostile::Program& p) {
         p.WriteRule("Plant.pxkbx", "<r name=\"Plant\"><GlobalCode><![CDATA[\nClass \xC3\x84pfel\nEnd Class\n"
                                    "Class \xC3\xA4pfel\nEnd Class\n]]></GlobalCode></r>");
     },
     kBatch, {}, 1,
     "WORK/Plant.pxkbx:4: error: class '\xC3\xA4pfel' is defined twice in the global code (lines 2 and 4)", kNothing},
    {"a class named like a generated module is refused",
     [](const hostile::Program& p) {
         p.WriteRule("Plant.pxkbx", "<r name=\"Plant\"><GlobalCode><![CDATA[\nClass kbroutine\nEnd Class\n]]></GlobalCode></r>");
     },
     kBatch, {}, 1, "WORK/Plant.pxkbx:2: error: class name 'kbroutine' is taken by the generated module 'KBRoutine'",
     kNothing},
    {"a class named like the module is refused",
     [](const hostile::Program& p) {
         p.WriteRule("Plant.pxkbx", "<r name=\"Plant\"><GlobalCode><![CDATA[\nClass PLANT\nEnd Class\n]]></GlobalCode></r>");
     },
     kBatch, {}, 1, "WORK/Plant.pxkbx:2: error: class name 'PLANT' is taken by the project, named after the module",
     kNothing},
    {"a second rule file of a module the batch wrote, ignoring case beyond ASCII, fails; the first stays",
     [](const hostile::Program& p) {
         p.WriteRule("a.pxkbx", RuleFile("\xC3\x84rger"));
         p.WriteRule("b.pxkbx", "<r name=\"\xC3\xA4RGER\"/>");
         p.WriteRule("c.pxkbx", RuleFile("Tank"));
     },
     kBatch, {}, 1,
     "WORK/b.pxkbx: error: module '\xC3\xA4RGER' was already written from WORK/a.pxkbx in this batch",
     {"Tank", "\xC3\x84rger"}, {},
     [](const hostile::Program& p) {
         EXPECT_NE(ReadFileBytes(Project(p, "\xC3\x84rger") + "/KBRoutine.bas").find("Public Function R()"),
                   std::string::npos);
     }},
    {"folders in a pattern are passed over; hidden files still match",
     [](const hostile::Program& p) {
         p.WriteRule("Plant.pxkbx", RuleFile("Plant"));
         p.WriteRule(".Tank.pxkbx", RuleFile("Tank"));
         fs::create_directory(p.Work("rules.pxkbx"));
     },
     {"*", "target"}, {}, 0, "", {"Plant", "Tank"}},
    {"a pattern passes over a link that leads nowhere, as an editor's lock file does",
     [](const hostile::Program& p) {
         p.WriteRule("Plant.pxkbx", RuleFile("Plant"));
         fs::create_symlink("user@host.4242:1700000000", p.Work(".#Plant.pxkbx"));
     },
     kBatch, {}, 0, "", kPlant, {}, nullptr, Need::kSymbolicLinks},
    {"a target that is a file is no target folder: two rule files that the shell expanded",
     [](const hostile::Program& p) {
         p.WriteRule("a.pxkbx", RuleFile("Plant"));
         p.WriteRule("b.pxkbx", RuleFile("Tank"));
     },
     {"a.pxkbx", "b.pxkbx"}, {}, 2, "Cannot find the target folder.\nrulecast: note: not a folder: b.pxkbx\n",
     kNothing},
    {"a pattern that matches only folders finds no rule file",
     [](const hostile::Program& p) { fs::create_directory(p.Work("rules.pxkbx")); },
     kBatch, {}, 2, "Cannot find the .pxkbx file.", kNothing},
    {"a UTF-8 byte-order mark outranks the encoding the declaration names",
     [](const hostile::Program& p) {
         p.WriteRule("Plant.pxkbx", "\xEF\xBB\xBF<?xml version=\"1.0\" encoding=\"windows-1252\"?>\n" +
                                        RuleFile("Gr\xC3\xB6\xC3\x9F" "e"));
     },
     kBatch, {}, 0, "", {"Gr\xC3\xB6\xC3\x9F" "e"}},
    {"a UTF-16 byte-order mark outranks the encoding the declaration names",
     [](const hostile::Program& p) {
         std::string littleEndian = "\xFF\xFE";
         for (char c : "<?xml version=\"1.0\" encoding=\"windows-1252\"?>\n" + RuleFile("Plant"))
             littleEndian += {c, '\0'};
         p.WriteRule("Plant.pxkbx", littleEndian);
     },
     kBatch, {}, 0, "", {"Plant"}},
    {"a display that does not answer gives the usage instead of an abort",
     [](const hostile::Program&) {},
     {}, {.seconds = 20, .environment = {"DISPLAY=:7391", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"}}, 2, kUsage, kNothing,
     {}, nullptr, Need::kQtDialog},
    {"a platform plugin that is not there gives the usage instead of an abort",
     [](const hostile::Program&) {},
     {}, {.seconds = 20, .environment = {"QT_QPA_PLATFORM=no-such-platform"}}, 2, kUsage, kNothing,
     {}, nullptr, Need::kQtDialog},
};

// said with WORK/ standing for the work folder.
std::string InWork(const hostile::Program& program, std::string said)
{
    for (size_t pos; (pos = said.find("WORK/")) != std::string::npos;)
        said.replace(pos, 5, program.Work(""));
    return said;
}

}  // namespace

TEST(AppSafeOutput, WritesWholeFilesOnlyWhereTheyBelong)
{
    for (const Case& c : kCases) {
        if (c.needs && !PlatformHas(*c.needs))
            continue;
        SCOPED_TRACE(c.behaviour);
        hostile::Program program;
        c.setup(program);
        std::vector<std::string> outside = program.OutsideTarget();
        outside.insert(outside.end(), c.madeOutside.begin(), c.madeOutside.end());
        std::sort(outside.begin(), outside.end());
        const hostile::Outcome outcome = program.Run(c.args, c.limits);
        EXPECT_FALSE(outcome.timedOut);
        EXPECT_EQ(outcome.exitCode, c.exitCode) << outcome.err;
        hostile::ExpectNoSanitizerReport(outcome);
        if (c.said.empty())
            EXPECT_EQ(outcome.err, "");
        else
            EXPECT_NE(outcome.err.find(InWork(program, c.said)), std::string::npos) << outcome.err;
        ExpectFiles(program.Target(), c.inTarget);
        EXPECT_EQ(program.OutsideTarget(), outside);
        if (c.check)
            c.check(program);
    }
}

TEST(AppSafeOutput, AConversionWaitsForAnotherIntoTheSameProjectAndSaysSoOnce)
{
    hostile::Program program;
    program.WriteRule("Plant.pxkbx", RuleFile("Plant"));
    ASSERT_TRUE(MakeFolder(Project(program)));
    std::promise<void> locked;
    // On Windows the lock belongs to the thread that took it, which alone may let go of it.
    std::thread holder([&] {
        CFolderLock lock;
        EXPECT_TRUE(lock.Lock(Project(program)));
        locked.set_value();
        std::this_thread::sleep_for(std::chrono::seconds(3));
    });
    locked.get_future().wait();
    const hostile::Outcome outcome = program.Run(kBatch);
    holder.join();
    EXPECT_EQ(outcome.exitCode, 0) << outcome.err;
    EXPECT_EQ(outcome.err,
              "rulecast: waiting for another conversion into " + JoinedPath("target", "Plant") + " to finish\n");
    ExpectFiles(Project(program), kPlantFiles);
}
