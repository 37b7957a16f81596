#include "log/Log.h"

#include <ctime>
#include <utility>

#include "common/MessageText.h"
#include "common/Placeholder.h"
#include "platform/Clock.h"
#include "platform/FileSystem.h"

namespace {

// The one log of the conversion in progress; replaced at the start of every conversion.
std::unique_ptr<CLog> currentLog;

constexpr std::string_view kBeginBanner =
    "--------------------------  Begin to convert {path}  --------------------------------------\n";
constexpr std::string_view kFinishBanner =
    "--------------------------  Finish to convert {path}  -------------------------------------\n\n";
constexpr std::string_view kNoLogFolder = "no folder was given for logs";
constexpr std::string_view kCannotCreateFolder = "cannot create folder {path}";
constexpr std::string_view kCannotCreateFile = "cannot create {path}: {reason}";
constexpr std::string_view kWriteFailed = "the write failed";
constexpr std::string_view kStepLine = "ITEM_00001 ----> ITEM_00002 ----> ITEM_00003\n";
constexpr std::string_view kFailureLine = "{time} ----> {message}\n";
constexpr std::string_view kWriteFileMessage = "Write ITEM_00001 to VB ITEM_00002 file.";
constexpr std::string_view kRegisterCodeLine =
    "ITEM_00003 ---->Generate Register code for DataServiceImpl.cls for ITEM_00001 : ITEM_00002\n";
constexpr std::string_view kComEntryCodeLine =
    "ITEM_00003 ---->Generate COM Entry code for DataServiceImpl.cls for ITEM_00001 : ITEM_00002\n";
constexpr std::string_view kImplementCodeLine =
    "ITEM_00003 ---->Generate Implement code for KBRoutine.bas for ITEM_00001 : ITEM_00002\n";

}  // namespace

CLog* CLog::Instance()
{
    if (!currentLog)
        return Restart();
    return currentLog.get();
}

CLog* CLog::Restart()
{
    return Restart(CProgramFolders::ForThisUser());
}

CLog* CLog::Restart(const CProgramFolders& folders)
{
    currentLog.reset();
    currentLog = std::make_unique<CLog>();
    currentLog->OpenFile(folders.executableInSystem ? "" : folders.executable, folders.userLogs);
    return currentLog.get();
}

CLog* CLog::Restart(const std::optional<std::string>& logFolder)
{
    return Restart(CProgramFolders{logFolder.value_or(""), "", ""});
}

CLog::~CLog() = default;

const std::string& CLog::TimeText()
{
    // A large conversion logs many lines a second; the local time is worked out once per second.
    static std::time_t formattedSecond = -1;
    static std::string formatted;
    std::time_t now = std::time(nullptr);
    if (now == formattedSecond)
        return formatted;
    std::tm local{};
    if (!CClock::LocalTime(now, local)) {
        formatted.clear();
        formattedSecond = -1;
        return formatted;
    }
    char buffer[128];
    size_t length = std::strftime(buffer, sizeof buffer, "%Y-%m-%d %H.%M.%S", &local);
    formatted.assign(buffer, length);
    formattedSecond = now;
    return formatted;
}

void CLog::OpenFile(const std::string& logFolder, const std::string& userFolder)
{
    fileProblem_ = kNoLogFolder;
    if (!logFolder.empty() && CreateIn(logFolder))
        return;
    // Otherwise the conversion goes on without a log, and the user is told why.
    if (userFolder.empty())
        return;
    if (CProgramFolders::MakeUserFolder(userFolder))
        CreateIn(userFolder);
    else
        fileProblem_ = MessageText(kCannotCreateFolder, {{"path", userFolder}});
}

bool CLog::CreateIn(const std::string& folder)
{
    // Two conversions in the same second must not share a file: the later one takes the next
    // free name, so no earlier log is ever emptied.
    std::string stem = folder + TimeText();
    for (int n = 1; n <= 1000; ++n) {
        std::string path = n == 1 ? stem + ".txt" : stem + " (" + std::to_string(n) + ").txt";
        if (file_.CreateNew(path)) {
            filePath_ = path;
            fileProblem_.clear();
            return true;
        }
        fileProblem_ = MessageText(kCannotCreateFile, {{"path", path}, {"reason", file_.ErrorText()}});
        if (CFileSystem::EntryExists(path) == false)
            return false;  // the folder takes no new file
    }
    return false;
}

void CLog::SetEncoder(std::unique_ptr<CTextEncoder> encoder)
{
    encoder_ = std::move(encoder);
    file_.SetEncoder(encoder_.get());
}

void CLog::WriteBanner(std::string_view bannerTemplate, const std::string& rulePath)
{
    // Escaped as standard error shows it: a line break in a file name cannot forge a log line.
    if (file_.IsOpen())
        Put(MessageText(bannerTemplate, {{"path", rulePath}}));
}

void CLog::Put(std::string_view text)
{
    // After a failed write the log stops where it broke: a later line would hide the gap.
    if (!writeProblem_.empty())
        return;
    if (file_.Write(text))
        anyWritten_ = true;
    else
        writeProblem_ = file_.ErrorText().empty() ? std::string(kWriteFailed) : file_.ErrorText();
}

void CLog::BeginConversion(const std::string& rulePath)
{
    WriteBanner(kBeginBanner, rulePath);
}

void CLog::FinishConversion(const std::string& rulePath)
{
    WriteBanner(kFinishBanner, rulePath);
}

void CLog::LogFailure(std::string_view message)
{
    if (file_.IsOpen())
        Put(MessageText(kFailureLine, {{"time", TimeText()}, {"message", message}}));
}

void CLog::LogStep(std::string_view message, bool success)
{
    if (!file_.IsOpen())
        return;
    line_ = kStepLine;
    FillPlaceholder(line_, "ITEM_00001", TimeText());
    FillPlaceholder(line_, "ITEM_00002", message);
    FillPlaceholder(line_, "ITEM_00003", success ? "Success!" : "Fail!");
    Put(line_);
}

void CLog::LogParseDemon(bool success) { LogStep("Parse Demon Node", success); }
void CLog::LogParseEvent(bool success) { LogStep("Parse Event Node", success); }
void CLog::LogParseFilter(bool success) { LogStep("Parse Filter Node", success); }
void CLog::LogParseGlobalCode(bool success) { LogStep("Parse GlobalCode Node", success); }
void CLog::LogParseMethod(bool success) { LogStep("Parse Method Node", success); }
void CLog::LogParseRule(bool success) { LogStep("Parse Rule Node", success); }
void CLog::LogParseSort(bool success) { LogStep("Parse Sort Node", success); }

void CLog::LogWriteFile(std::string_view what, std::string_view extension, bool success)
{
    std::string message(kWriteFileMessage);
    FillPlaceholder(message, "ITEM_00001", what);
    FillPlaceholder(message, "ITEM_00002", extension);
    LogStep(message, success);
}

void CLog::WriteItemLine(std::string_view lineTemplate, std::string_view kindWord, std::string_view itemText)
{
    if (!file_.IsOpen())
        return;
    line_ = lineTemplate;
    FillPlaceholder(line_, "ITEM_00001", kindWord);
    FillPlaceholder(line_, "ITEM_00002", itemText);
    FillPlaceholder(line_, "ITEM_00003", TimeText());
    Put(line_);
}

void CLog::LogRegisterCode(std::string_view kindWord, std::string_view itemText)
{
    WriteItemLine(kRegisterCodeLine, kindWord, itemText);
    SetKindFlag(kindWord);
}

void CLog::LogComEntryCode(std::string_view kindWord, std::string_view itemText)
{
    WriteItemLine(kComEntryCodeLine, kindWord, itemText);
}

void CLog::LogImplementCode(std::string_view kindWord, std::string_view itemText)
{
    WriteItemLine(kImplementCodeLine, kindWord, itemText);
}

void CLog::SetKindFlag(std::string_view kindWord)
{
    if (kindWord == "Method")
        hasMethod = true;
    else if (kindWord == "Demon")
        hasDemon = true;
    else if (kindWord == "Filter")
        hasFilter = true;
    else if (kindWord == "Rule")
        hasRule = true;
    else if (kindWord == "Event")
        hasEvent = true;
    else if (kindWord == "Sort")
        hasSort = true;
}
