#include "app/ConvertHelper.h"

#include <exception>
#include <string_view>
#include <utility>
#include <vector>

#include "app/CommandLine.h"
#include "common/FoldCase.h"
#include "common/MessageText.h"
#include "common/Placeholder.h"
#include "kbfile/KBItemsConvertor.h"
#include "kbfile/KBReaderError.h"
#include "log/Log.h"
#include "platform/Console.h"
#include "platform/FileSearch.h"
#include "platform/FileSystem.h"
#include "platform/TextFile.h"

namespace {

constexpr std::string_view kNoRuleFile = "Cannot find the .pxkbx file.\n";
constexpr std::string_view kNoTargetFolder = "Cannot find the target folder.\n";
constexpr std::string_view kModuleWritten =
    "module 'ITEM_00001' was already written from ITEM_00002 in this batch";
constexpr std::string_view kConfigFileName = "config.txt";
constexpr std::string_view kConfigLine = "ITEM_00001\n";
constexpr std::string_view kNoReason = "the conversion failed";
// What the batch reports of a rule file, the way compilers report: path, line where known, kind.
constexpr std::string_view kReportAtLine = "ITEM_00001:ITEM_00002: ITEM_00003: ITEM_00004";
constexpr std::string_view kReport = "ITEM_00001: ITEM_00002: ITEM_00003";
constexpr std::string_view kLogNote = "log file ITEM_00001";
constexpr std::string_view kNoLogNote = "no log file was written: ITEM_00001";
// After "Cannot find ...": the path as the program received it, since a quoting slip in a batch
// file is otherwise invisible.
constexpr std::string_view kNoSuchFile = "rulecast: note: no such file: ITEM_00001";
constexpr std::string_view kNoSuchFolder = "rulecast: note: no such folder: ITEM_00001";
constexpr std::string_view kNotAFolder = "rulecast: note: not a folder: ITEM_00001";
constexpr std::string_view kReplacements =
    "ITEM_00001 characters have no place in code page ITEM_00002 and were written as '?'";

// "PATH:LINE: KIND: TEXT", without "LINE:" when the line is not known (0).
std::string Report(const std::string& rulePath, long line, std::string_view kind, std::string_view text)
{
    if (line > 0)
        return MessageText(kReportAtLine, {rulePath, std::to_string(line), kind, text});
    return MessageText(kReport, {rulePath, kind, text});
}

}  // namespace

CConvertHelper::CConvertHelper()
    : CConvertHelper([this] { return std::make_unique<CKBItemsConvertor>(encoder_.get()); },
                     CProgramFolders::ForThisUser())
{
}

CConvertHelper::CConvertHelper(ReaderFactory makeReader, std::optional<std::string> appFolder)
    : CConvertHelper(std::move(makeReader), CProgramFolders{appFolder.value_or(""), "", ""})
{
}

CConvertHelper::CConvertHelper(ReaderFactory makeReader, CProgramFolders folders)
    : codePage_(CTextEncoder::DefaultCodePage()),
      encoder_(CTextEncoder::Create(codePage_)),
      makeReader_(std::move(makeReader)),
      folders_(std::move(folders))
{
}

bool CConvertHelper::SetCodePage(const std::string& codePage)
{
    std::unique_ptr<CTextEncoder> encoder = CTextEncoder::Create(codePage);
    if (!encoder)
        return false;
    codePage_ = codePage;
    encoder_ = std::move(encoder);
    return true;
}

CConvertHelper::~CConvertHelper() = default;

void CConvertHelper::ShowUsage()
{
    CConsole::Warn(CCommandLine::Usage());
}

int CConvertHelper::ConvertBatch(int argc, const char* const* argv)
{
    if (argc != 3) {
        ShowUsage();
        return kUsageError;
    }
    // The whole list is taken before the first conversion, so projects written into the
    // searched folder do not join the batch.
    std::vector<std::string> rulePaths = CFileSearch::Find(argv[1]);
    if (rulePaths.empty()) {
        CConsole::Warn(kNoRuleFile);
        CConsole::Warn(MessageText(kNoSuchFile, {argv[1]}));
        return kUsageError;
    }
    // A file is no target either: most often a second rule file, from a pattern that the shell
    // expanded.
    if (!CFileSystem::IsFolder(argv[2])) {
        CConsole::Warn(kNoTargetFolder);
        CConsole::Warn(MessageText(CFileSystem::EntryExists(argv[2]) ? kNotAFolder : kNoSuchFolder, {argv[2]}));
        return kUsageError;
    }
    bool anyFailed = false;
    WrittenModules written;
    for (const std::string& rulePath : rulePaths) {
        const bool converted = Convert(rulePath, argv[2], &written);
        if (warningsShown_) {
            for (const CKBWarning& warning : warnings_)
                CConsole::Warn(WarningMessage(rulePath, warning));
            if (replacements_ > 0)
                CConsole::Warn(ReplacementWarning(rulePath));
        }
        if (!converted) {
            anyFailed = true;
            CConsole::Warn(FailureMessage(rulePath));
            if (std::string note = LogNote(rulePath); !note.empty())
                CConsole::Warn(note);
        }
    }
    if (anyFailed) {
        CConsole::Warn(kFailedMessage);
        return kConversionFailed;
    }
    CConsole::Inform(kSucceededMessage);
    return kAllConverted;
}

bool CConvertHelper::ConvertFile(const std::string& rulePath, const std::string& targetFolder)
{
    return Convert(rulePath, targetFolder, nullptr);
}

bool CConvertHelper::Convert(const std::string& rulePath, const std::string& targetFolder,
                             WrittenModules* written)
{
    failureReason_.clear();
    failureLine_ = 0;
    replacements_ = 0;
    warnings_.clear();
    CLog* log = CLog::Restart(folders_);
    logPath_ = log->FilePath();
    logProblem_ = log->FileProblem();
    // The log has an encoder of its own: it outlives this conversion, and its '?' are not counted.
    log->SetEncoder(CTextEncoder::Create(codePage_));
    log->BeginConversion(rulePath);
    const size_t replacedBefore = encoder_ ? encoder_->Replacements() : 0;
    bool converted = false;
    {
        std::unique_ptr<CKBReader> reader = makeReader_();
        converted = RunSteps(*reader, rulePath, targetFolder, written);
        warnings_ = reader->Warnings();
    }
    replacements_ = encoder_ ? encoder_->Replacements() - replacedBefore : 0;
    // The log a failure sends the user to says why, in the words the user was shown.
    if (!converted)
        log->LogFailure(FailureMessage(rulePath));
    return converted;
}

bool CConvertHelper::RunSteps(CKBReader& reader, const std::string& rulePath,
                              const std::string& targetFolder, WrittenModules* written)
{
    // A reader error ends this file's conversion like a failed step; a batch goes on.
    try {
        if (!reader.LoadModule(rulePath, targetFolder) || !reader.ReadItems()) {
            RememberFailure(reader, "", 0);
            return false;
        }
        if (written && !IsModuleFree(reader, *written))
            return false;
        if (!reader.BuildProject()) {
            RememberFailure(reader, "", 0);
            return false;
        }
        if (written && !reader.ModuleName().empty())
            written->emplace(FoldCase(reader.ModuleName()), rulePath);
    } catch (const CKBReaderError& error) {
        RememberFailure(reader, error.what(), error.Line());
        return false;
    } catch (const std::exception& error) {
        // Out of memory or the like: this file fails, the batch goes on with the next.
        failureReason_ = error.what();
        failureLine_ = 0;
        return false;
    }
    CLog::Instance()->FinishConversion(rulePath);
    return true;
}

bool CConvertHelper::IsModuleFree(const CKBReader& reader, const WrittenModules& written)
{
    const auto earlier = written.find(FoldCase(reader.ModuleName()));
    if (earlier == written.end())
        return true;
    failureReason_ = MessageText(kModuleWritten, {reader.ModuleName(), earlier->second});
    failureLine_ = 0;
    return false;
}

void CConvertHelper::RememberFailure(const CKBReader& reader, std::string reason, long line)
{
    // The reader knows best what went wrong; what an escaping error says stands in when it has
    // nothing to add.
    if (!reader.FailureReason().empty()) {
        reason = reader.FailureReason();
        line = reader.FailureLine();
    }
    failureReason_ = reason.empty() ? std::string(kNoReason) : reason;
    failureLine_ = line;
}

std::string CConvertHelper::FailureMessage(const std::string& rulePath) const
{
    return Report(rulePath, failureLine_, "error", failureReason_);
}

std::string CConvertHelper::ReplacementWarning(const std::string& rulePath) const
{
    return Report(rulePath, 0, "warning", MessageText(kReplacements, {std::to_string(replacements_), codePage_}));
}

std::string CConvertHelper::LogNote(const std::string& rulePath) const
{
    if (logPath_.empty())
        return logProblem_.empty() ? "" : Report(rulePath, 0, "note", MessageText(kNoLogNote, {logProblem_}));
    return Report(rulePath, 0, "note", MessageText(kLogNote, {logPath_}));
}

std::string CConvertHelper::WarningMessage(const std::string& rulePath, const CKBWarning& warning)
{
    return Report(rulePath, warning.line, "warning", warning.text);
}

int CConvertHelper::CreateProjectFolder(const std::string& path)
{
    return CFileSystem::CreateFolder(path);
}

std::vector<std::string> CConvertHelper::ConfigPathsToRead() const
{
    const std::string name(kConfigFileName);
    std::vector<std::string> paths;
    if (!folders_.executable.empty())
        paths.push_back(folders_.executable + name);
    if (folders_.userConfig.empty())
        return paths;
    // A config.txt beside the executable that the user cannot write was left there by whoever
    // installed the program; the user's own, where the saves go, comes before it.
    if (!paths.empty() && CProgramFolders::CanWrite(paths.front()))
        paths.push_back(folders_.userConfig + name);
    else
        paths.insert(paths.begin(), folders_.userConfig + name);
    return paths;
}

void CConvertHelper::LoadTargetFolder(std::string& target, const std::string& documentsFolder) const
{
    for (const std::string& path : ConfigPathsToRead()) {
        if (CTextFile::ReadFirstLine(path, target))
            break;
    }
    // An empty first line counts as no remembered folder at all.
    if (target.empty())
        target = documentsFolder;
}

bool CConvertHelper::SaveTargetFolder(const std::string& target) const
{
    const std::string name(kConfigFileName);
    // Replaced whole, as project files are: never written through a link planted at its name, nor
    // into a pipe, and never left half written. One that the user may not write stays as it is,
    // as writing it in place left it.
    const std::string beside = folders_.executable + name;
    const bool besideWritable = !CFileSystem::EntryExists(beside) || CProgramFolders::CanWrite(beside);
    CTextFile file;
    const bool opened =
        (!folders_.executable.empty() && besideWritable && file.OpenReplacing(beside)) ||
        (CProgramFolders::MakeUserFolder(folders_.userConfig) && file.OpenReplacing(folders_.userConfig + name));
    if (!opened)
        return false;
    std::string line(kConfigLine);
    FillPlaceholder(line, "ITEM_00001", target);
    return file.Write(line) && file.Commit();
}
