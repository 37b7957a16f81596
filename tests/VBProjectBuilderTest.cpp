#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstdint>
#include <cstdlib>
#include <map>
#include <optional>
#include <regex>
#include <sstream>

#include "TestSupport.h"
#include "kbitems/KBEvent.h"
#include "kbitems/KBFilter.h"
#include "kbitems/KBRule.h"
#include "log/Log.h"
#include "platform/FileSink.h"
#include "platform/TemporaryFiles.h"
#include "platform/TextEncoder.h"
#include "vbproject/SafeName.h"
#include "vbproject/VBProjectBuilder.h"

namespace {

class VBProjectBuilderTest : public testing::Test {
protected:
    void SetUp() override
    {
        log = CLog::Restart(logs.Path() + "/");
    }

    CVBProjectBuilder& Builder(const std::string& moduleName)
    {
        builder = std::make_unique<CVBProjectBuilder>(target.Path());
        builder->SetModuleName(moduleName);
        return *builder;
    }
    std::string File(const std::string& name) const { return ReadFileBytes(target / ("Plant/" + name)); }
    // Step lines of the log with their time texts cut off.
    std::vector<std::string> StepLines() const
    {
        std::vector<std::string> lines;
        std::regex step(R"(\S+ \S+ ----> (.*)\r)");
        std::istringstream text(ReadFileBytes(log->FilePath()));
        for (std::string line; std::getline(text, line);) {
            std::smatch match;
            if (std::regex_match(line, match, step))
                lines.push_back(match[1]);
        }
        return lines;
    }
    // Positions of the procedure heads in the service class, in file order.
    std::vector<std::string> Procedures() const
    {
        std::vector<std::string> names;
        std::regex head(R"((?:Sub|Function) PXQDataService_(\w+)\()");
        std::string text = File("DataServiceImpl.cls");
        for (std::sregex_iterator it(text.begin(), text.end(), head), end; it != end; ++it)
            names.push_back((*it)[1]);
        return names;
    }

    HostTypeLibrary notRegistered{std::nullopt};
    TempFolder target;
    TempFolder logs;
    CLog* log = nullptr;
    std::unique_ptr<CVBProjectBuilder> builder;
};

const std::vector<std::string> kFrame = {"AbortRequest", "GetObjectService", "OnEndTransaction",
                                         "OnJoinTransaction", "ProcessRequest", "ProcessTrigger"};

std::vector<std::string> FrameAnd(std::vector<std::string> rest)
{
    std::vector<std::string> all = kFrame;
    all.insert(all.end(), rest.begin(), rest.end());
    return all;
}

std::unique_ptr<CKBItem> Rule(const std::string& name)
{
    return std::make_unique<CKBRule>(name, "d", "", "Function " + name + "(a)\n" + name + " = a\nEnd Function\n",
                                     false, false, true);
}

// The real disk, but one that fills up after so many bytes, or refuses to rename a new file into
// the place of a given name as though another program held it.
class FailingDisk : public CFileSink {
public:
    FailingDisk(size_t bytesLeft, std::string refusedName) : bytesLeft_(bytesLeft), refusedName_(std::move(refusedName)) {}

    bool Write(std::FILE* file, const char* bytes, size_t count, std::string& error) override
    {
        if (count > bytesLeft_) {
            error = "No space left on device";
            return false;
        }
        bytesLeft_ -= count;
        return CFileSink::Write(file, bytes, count, error);
    }
    bool Rename(const std::string& from, const std::string& to, std::string& error) override
    {
        if (!refusedName_.empty() && to.ends_with(JoinedPath("", refusedName_)) && from.ends_with(".tmp")) {
            error = kOpenElsewhere;
            return false;
        }
        return CFileSink::Rename(from, to, error);
    }

private:
    size_t bytesLeft_;
    std::string refusedName_;
};

std::unique_ptr<CKBItem> Event(const std::string& name, const std::string& cls, const std::string& code)
{
    return std::make_unique<CKBEvent>(name, std::vector<std::string>{cls}, false, code);
}

}  // namespace

TEST_F(VBProjectBuilderTest, AModuleWithANameAloneGetsEveryStubAndThreeLogLines)
{
    ASSERT_TRUE(Builder("Plant").Build());
    EXPECT_EQ(ListTree(target.Path()),
              (std::vector<std::string>{"Plant/DataServiceImpl.cls", "Plant/GlobalCode.bas",
                                        "Plant/KBRoutine.bas", "Plant/Plant.vbp"}));
    EXPECT_EQ(Procedures(), FrameAnd({"RunMethod", "RunDemonAction", "RunDemonPattern", "FilterObject",
                                      "RunRule", "NotifyEventSink", "GetSortValues", "Register"}));
    // The stubs of the golden case that has a module name alone, named Plant here.
    std::string service = GoldenText("minimal", "Minimal/DataServiceImpl.cls");
    const std::string serviceName = "(\"Minimal\")";
    service.replace(service.find(serviceName), serviceName.size(), "(\"Plant\")");
    EXPECT_EQ(File("DataServiceImpl.cls"), WithCrLf(service));
    EXPECT_EQ(File("GlobalCode.bas"), WithCrLf(GoldenText("minimal", "Minimal/GlobalCode.bas")));
    EXPECT_EQ(File("KBRoutine.bas"), WithCrLf(GoldenText("minimal", "Minimal/KBRoutine.bas")));
    std::string project = File("Plant.vbp");
    EXPECT_EQ(project.substr(project.find("ThreadingModel=1")),
              WithCrLf("ThreadingModel=1\nClass=DataServiceImpl; DataServiceImpl.cls\n"
                       "Module=GlobalCode; GlobalCode.bas\nModule=KBRoutine; KBRoutine.bas\n"));
    EXPECT_EQ(StepLines(), (std::vector<std::string>{"Write KB Item to VB .cls file. ----> Success!",
                                                     "Write GlobalCode to VB .bas file. ----> Success!",
                                                     "Write KB Item to VB .bas file. ----> Success!"}));
}

TEST_F(VBProjectBuilderTest, ItemsOfAKindShareOneProcedureAndOthersGetStubs)
{
    CVBProjectBuilder& b = Builder("Plant");
    b.AddRule(Rule("Same"));
    b.AddRule(Rule("Same"));
    for (const char* name : {"F1", "F2", "F3"})
        b.AddFilter(std::make_unique<CKBFilter>(name, "d", "", "", std::vector<std::string>{}));
    ASSERT_TRUE(b.Build());
    EXPECT_EQ(Procedures(), FrameAnd({"FilterObject", "RunRule", "RunMethod", "RunDemonAction",
                                      "RunDemonPattern", "NotifyEventSink", "GetSortValues", "Register"}));
    std::string service = File("DataServiceImpl.cls");
    for (const char* branch : {"  If iFilterID = 1 Then", "  Elseif iFilterID = 2 then", "  Elseif iFilterID = 3 then",
                               "  If iRuleID = 1 Then", "  Elseif iRuleID = 2 then",
                               "  Registrar.AddRule 1, \"Same\"", "  Registrar.AddRule 2, \"Same\""})
        EXPECT_NE(service.find(branch), std::string::npos) << branch;
    EXPECT_EQ(service.find("Elseif iFilterID = 4"), std::string::npos);
}

TEST_F(VBProjectBuilderTest, ALaterEventOfTheSameNameAndClassReplacesTheEarlierAtTheEnd)
{
    CVBProjectBuilder& b = Builder("Plant");
    b.AddEvent(Event("A", "Pump", "' first A\n"));
    b.AddEvent(Event("B", "Pump", "' B\n"));
    b.AddEvent(Event("A", "Valve", "' of another class\n"));
    b.AddEvent(Event("A", "Pump", "' second A\n"));
    ASSERT_TRUE(b.Build());
    EXPECT_EQ(File("KBRoutine.bas"),
              WithCrLf("Attribute VB_Name = KBRoutine\n' B\n' of another class\n' second A\n"));
    std::string service = File("DataServiceImpl.cls");
    EXPECT_NE(service.find("  If SinkID = 1 Then\r\n    Call B_Pump(Object, SinkData)"), std::string::npos);
    EXPECT_NE(service.find("  Elseif SinkID = 3 then\r\n    Call A_Pump(Object, SinkData)"), std::string::npos);
}

TEST_F(VBProjectBuilderTest, GlobalCodeClassesComeFirstInTheProjectFile)
{
    CVBProjectBuilder& b = Builder("Plant");
    b.SetGlobalCode(std::make_unique<CGlobalCode>("Class Ignored\nEnd Class\n"));
    b.SetGlobalCode(std::make_unique<CGlobalCode>("Dim a\nClass P\nDim p\nEnd Class\nClass Q\nEnd Class\n"));
    ASSERT_TRUE(b.Build());
    std::string project = File("Plant.vbp");
    EXPECT_EQ(project.substr(project.find("ThreadingModel=1")),
              WithCrLf("ThreadingModel=1\nClass=P; P.cls\nClass=Q; Q.cls\nClass=DataServiceImpl; DataServiceImpl.cls\n"
                       "Module=GlobalCode; GlobalCode.bas\nModule=KBRoutine; KBRoutine.bas\n"));
    EXPECT_NE(File("P.cls").find(WithCrLf("Attribute VB_Exposed = True\n\nDim p\n")), std::string::npos);
    EXPECT_EQ(File("Ignored.cls"), "");
    EXPECT_NE(File("GlobalCode.bas").find(WithCrLf("ObjectStore\nDim a\n")), std::string::npos);
    EXPECT_EQ(StepLines().front(), "Write GlobalCode to VB .cls file. ----> Success!");
    EXPECT_EQ(StepLines().size(), 4u);
}

TEST_F(VBProjectBuilderTest, UnsafeNamesWriteNothingAnywhere)
{
    // The same rule on every platform: what Windows cannot use as a file name is refused.
    const std::pair<std::string, std::string> modules[] = {
        {"", "'': it is empty"},
        {".", "'.': it ends in a dot"},
        {"..", "'..': it ends in a dot"},
        {"../x", "'../x': it holds a path separator"},
        {"a\\b", "'a\\b': it holds a path separator"},
        {"evil\r\nExeName32=\"evil.dll\"", "'evil\\r\\nExeName32=\"evil.dll\"': it holds a control character"},
        {"a\x7f", "'a\\x7f': it holds a control character"},
        {"Plant:stream", "'Plant:stream': it holds ':'"},
        {"Who?", "'Who?': it holds '?'"},
        {"a|b", "'a|b': it holds '|'"},
        {"con", "'con': it is a reserved device name"},
        {"Com7.txt", "'Com7.txt': it is a reserved device name"},
        {"LPT1 .bas", "'LPT1 .bas': it is a reserved device name"},
        {"COM\xC2\xB9", "'COM\xC2\xB9': it is a reserved device name"},
        {"Plant.", "'Plant.': it ends in a dot"},
        {"Plant ", "'Plant ': it ends in a space"},
    };
    for (const auto& [name, reason] : modules) {
        EXPECT_FALSE(Builder(name).Build()) << name;
        EXPECT_EQ(builder->FailureReason(), "unsafe module name " + reason);
    }
    // Names that only look near one of them stay usable.
    for (const char* name : {"Console", "COM10", "LPT", "Null_Value", "Plant.v2", ".Plant", "Gr\xC3\xB6\xC3\x9F" "e"})
        EXPECT_EQ(CSafeName::Problem(name), "") << name;
    CVBProjectBuilder& b = Builder("Plant");
    b.SetGlobalCode(std::make_unique<CGlobalCode>("Class Pump\nEnd Class\nClass AUX\nEnd Class\n"));
    EXPECT_FALSE(b.Build());
    EXPECT_EQ(b.FailureReason(), "unsafe class name 'AUX': it is a reserved device name");
    // The project file would name in the code page a file that is named in Unicode on disk.
    const struct {
        const char* codePage;
        std::string module;
        std::string className;
        std::string reason;
    } codePageRows[] = {
        {"1252", "\xC5\xBB\xC3\xB3\xC5\x82w", "Pump",
         "module name '\xC5\xBB\xC3\xB3\xC5\x82w' has '\xC5\xBB', which code page 1252 lacks; --codepage 65001 or "
         "the machine's own code page holds it"},
        {"1250", "\xC5\xBB\xC3\xB3\xC5\x82w", "\xE3\x83\x9D\xE3\x83\xB3\xE3\x83\x97",
         "class name '\xE3\x83\x9D\xE3\x83\xB3\xE3\x83\x97' has '\xE3\x83\x9D', which code page 1250 lacks; "
         "--codepage 65001 or the machine's own code page holds it"},
    };
    for (const auto& row : codePageRows) {
        std::unique_ptr<CTextEncoder> encoder = CTextEncoder::Create(row.codePage);
        ASSERT_TRUE(encoder);
        CVBProjectBuilder coded(target.Path(), encoder.get());
        coded.SetModuleName(row.module);
        coded.SetGlobalCode(std::make_unique<CGlobalCode>("Class " + row.className + "\nEnd Class\n"));
        EXPECT_FALSE(coded.Build());
        EXPECT_EQ(coded.FailureReason(), row.reason);
    }
    EXPECT_TRUE(ListTree(target.Path()).empty());
    EXPECT_TRUE(ListFolder(target.Path()).empty());
    EXPECT_TRUE(StepLines().empty());
}

TEST_F(VBProjectBuilderTest, AProjectFolderThatCannotBeMadeWritesNothing)
{
    builder = std::make_unique<CVBProjectBuilder>(target / "missing");
    builder->SetModuleName("Plant");
    EXPECT_FALSE(builder->Build());
    EXPECT_EQ(builder->FailureReason(), "cannot create folder " + JoinedPath(target / "missing", "Plant") +
                                            ": No such file or directory");
    EXPECT_TRUE(ListFolder(target.Path()).empty());
    EXPECT_TRUE(StepLines().empty());
}

TEST_F(VBProjectBuilderTest, AFileThatCannotBeWrittenFailsItsLineAndTheBuild)
{
    ASSERT_TRUE(MakeFolder(target / "Plant"));
    ASSERT_TRUE(MakeFolder(target / "Plant/DataServiceImpl.cls"));
    ASSERT_TRUE(MakeFolder(target / "Plant/KBRoutine.bas"));
    CVBProjectBuilder& b = Builder("Plant");
    b.AddRule(Rule("R"));
    EXPECT_FALSE(b.Build());
    EXPECT_EQ(StepLines(), (std::vector<std::string>{"Write KB Item to VB .cls file. ----> Fail!",
                                                     "Write GlobalCode to VB .bas file. ----> Success!",
                                                     "Write KB Item to VB .bas file. ----> Fail!"}));
    EXPECT_NE(b.FailureReason().find("DataServiceImpl.cls"), std::string::npos) << b.FailureReason();
    // Nothing takes its place, and no temporary file stays.
    EXPECT_EQ(ListFolder(target / "Plant"), (std::vector<std::string>{"DataServiceImpl.cls", "KBRoutine.bas"}));
}

TEST_F(VBProjectBuilderTest, AFailureLeavesOrPutsBackTheEarlierProject)
{
    const std::vector<std::string> files = {"DataServiceImpl.cls", "GlobalCode.bas", "KBRoutine.bas", "P.cls",
                                            "Plant.vbp"};
    // Joined as the program joins it, "\\" on Windows.
    const std::string folder = JoinedPath(target.Path(), "Plant");
    struct Row {
        const char* behaviour;
        size_t bytesLeft;
        std::string refusedName;
        // Held open by another program during the build.
        std::string heldOpen;
        std::string reason;
        std::optional<Need> needs = std::nullopt;
        bool heldSharingEverything = false;
    } rows[] = {
        {"a disk that fills up replaces nothing", 1200, "", "",
         "cannot write " + JoinedPath(folder, "DataServiceImpl.cls") + ": No space left on device"},
        {"a rename refused half way puts back the files replaced before", SIZE_MAX, "GlobalCode.bas", "",
         "cannot replace " + JoinedPath(folder, "GlobalCode.bas") + ": it is open in another program"},
        {"the project file's rename refused puts back every other file", SIZE_MAX, "Plant.vbp", "",
         "cannot replace " + JoinedPath(folder, "Plant.vbp") + ": it is open in another program"},
        {"a file open in another program is refused before anything is replaced", SIZE_MAX, "", "KBRoutine.bas",
         "cannot replace " + JoinedPath(folder, "KBRoutine.bas") + ": it is open in another program",
         Need::kSharingViolations},
        {"so is one open in a program that shares its removal", SIZE_MAX, "", "GlobalCode.bas",
         "cannot replace " + JoinedPath(folder, "GlobalCode.bas") + ": it is open in another program",
         Need::kSharingViolations, true},
    };
    for (const Row& row : rows) {
        if (row.needs && !PlatformHas(*row.needs))
            continue;
        SCOPED_TRACE(row.behaviour);
        MakeFolder(folder);
        for (const std::string& file : files)
            WriteFileBytes(folder + "/" + file, "earlier " + file);
        std::optional<FileHeldOpen> held;
        if (!row.heldOpen.empty())
            held.emplace(folder + "/" + row.heldOpen, row.heldSharingEverything);
        FailingDisk disk(row.bytesLeft, row.refusedName);
        CVBProjectBuilder b(target.Path(), nullptr, &disk);
        b.SetModuleName("Plant");
        b.SetGlobalCode(std::make_unique<CGlobalCode>("Class P\nEnd Class\n"));
        EXPECT_FALSE(b.Build());
        held.reset();
        EXPECT_EQ(b.FailureReason(), row.reason);
        EXPECT_EQ(ListFolder(folder), files);
        for (const std::string& file : files)
            EXPECT_EQ(File(file), "earlier " + file) << file;
    }
}

namespace {

// The disk's operations in a replace, each failed or stopped at in turn by the sweep below.
enum class Op { kCreate, kWrite, kFlush, kRename, kRemove };
// What happens at the chosen operation: it fails; the process stops there, as a kill or a power
// loss stops it; or an interrupt (Ctrl+C) comes.
enum class Pass { kFail, kStop, kInterrupt };
constexpr int kStopped = 3;
// Set in the child process that the sweep stops: "PASS OP AT FOLDER".
constexpr const char* kSweepVariable = "RULECAST_TEST_SWEEP";

// The real disk, but the at-th operation of one kind fails, stops the process or interrupts it.
class FaultyDisk : public CFileSink {
public:
    FaultyDisk(Pass pass, Op op, int at) : pass_(pass), op_(op), at_(at) {}
    bool Reached() const { return reached_; }

    std::FILE* Create(const std::string& path, std::string& error) override
    {
        return Hit(Op::kCreate, error) ? (errno = EIO, nullptr) : CFileSink::Create(path, error);
    }
    bool Write(std::FILE* file, const char* bytes, size_t count, std::string& error) override
    {
        return !Hit(Op::kWrite, error) && CFileSink::Write(file, bytes, count, error);
    }
    bool Flush(std::FILE* file, std::string& error) override
    {
        return !Hit(Op::kFlush, error) && CFileSink::Flush(file, error);
    }
    bool FlushFolder(const std::string& folder, std::string& error) override
    {
        return !Hit(Op::kFlush, error) && CFileSink::FlushFolder(folder, error);
    }
    bool Rename(const std::string& from, const std::string& to, std::string& error) override
    {
        return !Hit(Op::kRename, error) && CFileSink::Rename(from, to, error);
    }
    bool Remove(const std::string& path, std::string& error) override
    {
        return !Hit(Op::kRemove, error) && CFileSink::Remove(path, error);
    }

private:
    // True when the operation is to fail.
    bool Hit(Op op, std::string& error)
    {
        if (op != op_ || ++count_ != at_)
            return false;
        reached_ = true;
        if (pass_ == Pass::kStop)
            std::_Exit(kStopped);
        if (pass_ == Pass::kInterrupt) {
            std::raise(SIGINT);
            return false;
        }
        error = "Input/output error";
        return true;
    }

    Pass pass_;
    Op op_;
    int at_;
    int count_ = 0;
    bool reached_ = false;
};

using Tree = std::map<std::string, std::string>;

Tree ReadTree(const std::string& folder)
{
    Tree tree;
    for (const std::string& name : ListFolder(folder))
        tree[name] = ReadFileBytes(folder + "/" + name);
    return tree;
}

// The earlier project has the class P and the rule Old, the new one the class Q and the rule New.
bool BuildPlant(const std::string& target, bool later, CFileSink* disk = nullptr)
{
    CVBProjectBuilder builder(target, nullptr, disk);
    builder.SetModuleName("Plant");
    builder.SetGlobalCode(std::make_unique<CGlobalCode>(later ? "Class Q\nDim q\nEnd Class\n" : "Class P\nEnd Class\n"));
    builder.AddRule(Rule(later ? "New" : "Old"));
    return builder.Build();
}

}  // namespace

// As SQLite tests its I/O errors: each operation of the replace in turn fails, or the process
// stops there, or is interrupted; the next conversion (here one whose first file cannot be made)
// then finds the whole earlier project or the whole new one.
TEST_F(VBProjectBuilderTest, EveryFaultInAReplaceLeavesTheOldProjectOrTheNew)
{
    if (const char* sweep = std::getenv(kSweepVariable)) {
        int pass = 0, op = 0, at = 0;
        std::istringstream fields(sweep);
        std::string folder;
        fields >> pass >> op >> at >> std::ws;
        std::getline(fields, folder);
        CTemporaryFiles::InstallHandlers();
        FaultyDisk disk(static_cast<Pass>(pass), static_cast<Op>(op), at);
        BuildPlant(folder, true, &disk);
        return;
    }
    const struct Row {
        Pass pass;
        Op op;
        std::optional<Need> needs = std::nullopt;
    } rows[] = {
        {Pass::kFail, Op::kCreate}, {Pass::kFail, Op::kWrite}, {Pass::kFail, Op::kFlush},
        {Pass::kFail, Op::kRename}, {Pass::kFail, Op::kRemove},
        {Pass::kStop, Op::kCreate}, {Pass::kStop, Op::kWrite}, {Pass::kStop, Op::kFlush},
        {Pass::kStop, Op::kRename}, {Pass::kStop, Op::kRemove},
        {Pass::kInterrupt, Op::kWrite, Need::kSignals}, {Pass::kInterrupt, Op::kRename, Need::kSignals},
    };
    TempFolder expected;
    ASSERT_TRUE(BuildPlant(expected.Path(), false));
    const Tree old = ReadTree(expected / "Plant");
    ASSERT_TRUE(BuildPlant(expected.Path(), true));
    const Tree later = ReadTree(expected / "Plant");
    ASSERT_NE(old, later);
    for (const Row& row : rows) {
        if (row.needs && !PlatformHas(*row.needs))
            continue;
        bool reached = true;
        for (int at = 1; reached; ++at) {
            SCOPED_TRACE("pass " + std::to_string(int(row.pass)) + ", operation " + std::to_string(int(row.op)) +
                         " number " + std::to_string(at));
            TempFolder folder;
            ASSERT_TRUE(BuildPlant(folder.Path(), false));
            if (row.pass == Pass::kFail) {
                FaultyDisk disk(row.pass, row.op, at);
                BuildPlant(folder.Path(), true, &disk);
                reached = disk.Reached();
            } else {
                // The child's own temporary folders, which a stop leaves, go with the row's.
                const std::string childTemp = SystemPath(folder / "temp");
                ASSERT_TRUE(MakeFolder(folder / "temp"));
                RunLimits limits;
                limits.environment = {std::string(kSweepVariable) + "=" + std::to_string(int(row.pass)) + " " +
                                          std::to_string(int(row.op)) + " " + std::to_string(at) + " " + folder.Path(),
                                      "TMPDIR=" + childTemp, "TMP=" + childTemp, "TEMP=" + childTemp};
                const RunResult child = RunProgram(VBPROJECT_TESTS_BINARY,
                    {"--gtest_filter=VBProjectBuilderTest.EveryFaultInAReplaceLeavesTheOldProjectOrTheNew"},
                    folder.Path(), limits);
                reached = child.exitCode == (row.pass == Pass::kStop ? kStopped : 128 + SIGINT);
                ASSERT_TRUE(reached || child.exitCode == 0) << child.exitCode << child.out << child.err;
            }
            // Every build creates, writes, flushes, renames and removes: a first fault never reached
            // means the sweep tried nothing.
            EXPECT_TRUE(reached || at > 1);
            FaultyDisk nextFails(Pass::kFail, Op::kCreate, 1);
            EXPECT_FALSE(BuildPlant(folder.Path(), true, &nextFails));
            const Tree after = ReadTree(folder / "Plant");
            EXPECT_TRUE(after == old || after == later);
            // Renames run with interrupts held off: the conversion finishes before it ends.
            if (row.pass == Pass::kInterrupt && row.op == Op::kRename && reached) {
                EXPECT_TRUE(after == later);
            }
        }
    }
}
