#include "app/ConvertHelper.h"

#include <exception>
#include <string_view>
#include <utility>
#include <vector>

#include "app/CommandLine.h"
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
constexpr std::string_view kConfigFileName = "config.txt";
constexpr std::string_view kConfigLine = "ITEM_00001\n";
constexpr std::string_view kWarningLine = "ITEM_00001:ITEM_00002: warning: ITEM_00003";
constexpr std::string_view kWarningWithoutLine = "ITEM_00001: warning: ITEM_00002";

}  // namespace

CConvertHelper::CConvertHelper()
    : CConvertHelper([] { return std::make_unique<CKBItemsConvertor>(); },
                     CFileSystem::ExecutableFolder())
{
}

CConvertHelper::CConvertHelper(ReaderFactory makeReader, std::optional<std::string> appFolder)
    : makeReader_(std::move(makeReader)), appFolder_(std::move(appFolder))
{
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
        return kUsageError;
    }
    if (!CFileSystem::EntryExists(argv[2])) {
        CConsole::Warn(kNoTargetFolder);
        return kUsageError;
    }
    bool anyFailed = false;
    for (const std::string& rulePath : rulePaths) {
        const bool converted = ConvertFile(rulePath, argv[2]);
        if (warningsShown_) {
            for (const CKBWarning& warning : warnings_)
                CConsole::Warn(WarningMessage(rulePath, warning));
        }
        if (!converted) {
            anyFailed = true;
            CConsole::Warn(FailureMessage(rulePath));
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
    failureReason_.clear();
    failureLine_ = 0;
    warnings_.clear();
    CLog* log = CLog::Restart(appFolder_);
    log->BeginConversion(rulePath);
    bool converted = false;
    {
        std::unique_ptr<CKBReader> reader = makeReader_();
        converted = RunSteps(*reader, rulePath, targetFolder);
        warnings_ = reader->Warnings();
    }
    return converted;
}

bool CConvertHelper::RunSteps(CKBReader& reader, const std::string& rulePath,
                              const std::string& targetFolder)
{
    // A reader error ends this file's conversion like a failed step; a batch goes on.
    try {
        if (!reader.LoadModule(rulePath, targetFolder) || !reader.ReadItems() || !reader.BuildProject()) {
            RememberFailure(reader, "", 0);
            return false;
        }
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

void CConvertHelper::RememberFailure(const CKBReader& reader, std::string reason, long line)
{
    // The reader knows best what went wrong; what an escaping error says stands in when it has
    // nothing to add.
    if (!reader.FailureReason().empty()) {
        reason = reader.FailureReason();
        line = reader.FailureLine();
    }
    failureReason_ = reason.empty() ? "the conversion failed" : reason;
    failureLine_ = line;
}

std::string CConvertHelper::FailureMessage(const std::string& rulePath) const
{
    std::string where = failureLine_ > 0 ? rulePath + ":" + std::to_string(failureLine_) : rulePath;
    return where + ": error: " + failureReason_;
}

std::string CConvertHelper::WarningMessage(const std::string& rulePath, const CKBWarning& warning)
{
    if (warning.line > 0)
        return MessageText(kWarningLine, {rulePath, std::to_string(warning.line), warning.text});
    return MessageText(kWarningWithoutLine, {rulePath, warning.text});
}

int CConvertHelper::CreateProjectFolder(const std::string& path)
{
    return CFileSystem::CreateFolder(path);
}

std::optional<std::string> CConvertHelper::ConfigPath() const
{
    if (!appFolder_)
        return std::nullopt;
    return *appFolder_ + std::string(kConfigFileName);
}

void CConvertHelper::LoadTargetFolder(std::string& target, const std::string& documentsFolder) const
{
    std::optional<std::string> path = ConfigPath();
    if (path)
        CTextFile::ReadFirstLine(*path, target);
    // An empty first line counts as no remembered folder at all.
    if (target.empty())
        target = documentsFolder;
}

bool CConvertHelper::SaveTargetFolder(const std::string& target) const
{
    std::optional<std::string> path = ConfigPath();
    CTextFile file;
    if (!path || !file.Open(*path))
        return false;
    std::string line(kConfigLine);
    FillPlaceholder(line, "ITEM_00001", target);
    bool written = file.Write(line);
    file.Close();
    return written;
}
