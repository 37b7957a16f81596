#include "app/ConvertHelper.h"

#include <exception>
#include <optional>
#include <string_view>
#include <utility>

#include "app/RuleFileReport.h"
#include "common/FoldCase.h"
#include "common/MessageText.h"
#include "kbfile/KBItemsConvertor.h"
#include "kbfile/KBReaderError.h"
#include "log/Log.h"
#include "platform/FileSystem.h"

namespace {

constexpr std::string_view kModuleWritten =
    "module '{module}' was already written from {path} in this batch";
constexpr std::string_view kNoReason = "the conversion failed";

}  // namespace

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

bool CConvertHelper::ConvertFile(const std::string& rulePath, const std::string& targetFolder)
{
    return Convert(rulePath, targetFolder, nullptr);
}

bool CConvertHelper::ConvertFile(const std::string& rulePath, const std::string& targetFolder,
                                 WrittenModules& written)
{
    return Convert(rulePath, targetFolder, &written);
}

bool CConvertHelper::CheckFile(const std::string& rulePath)
{
    return Convert(rulePath, {}, nullptr, Steps::Check);
}

bool CConvertHelper::Convert(const std::string& rulePath, const std::string& targetFolder,
                             WrittenModules* written, Steps steps)
{
    failureReason_.clear();
    failureLine_ = 0;
    replacements_ = 0;
    warnings_.clear();
    newProjectFolder_.clear();
    CLog* log = steps == Steps::Check ? CLog::Restart(std::optional<std::string>()) : CLog::Restart(folders_);
    // The log has an encoder of its own: it outlives this conversion, and its '?' are not counted.
    log->SetEncoder(CTextEncoder::Create(codePage_));
    log->BeginConversion(rulePath);
    const size_t replacedBefore = encoder_ ? encoder_->Replacements() : 0;
    bool converted = false;
    {
        std::unique_ptr<CKBReader> reader = MakeReader();
        converted = RunSteps(*reader, *log, rulePath, targetFolder, written, steps);
        warnings_ = reader->Warnings();
    }
    // Once the reader has let go of the folder; one that holds anything stays.
    if (!converted && !newProjectFolder_.empty())
        CFileSystem::RemoveEmptyFolder(newProjectFolder_);
    replacements_ = encoder_ ? encoder_->Replacements() - replacedBefore : 0;
    // The log a failure sends the user to says why, in the words the user was shown.
    if (!converted)
        log->LogFailure(FailureMessage(rulePath));
    RememberLog(*log, steps);
    return converted;
}

void CConvertHelper::RememberLog(const CLog& log, Steps steps)
{
    logPath_ = log.FilePath();
    logProblem_.clear();
    // A check writes no log by design: there is nothing to note then.
    if (steps == Steps::Check)
        return;
    if (!log.HasFile()) {
        logProblem_ = log.FileProblem();
        return;
    }
    logProblem_ = log.WriteProblem();
    // A file that holds nothing is no log to send anyone to.
    if (!logProblem_.empty() && !log.AnyWritten())
        logPath_.clear();
}

std::unique_ptr<CKBReader> CConvertHelper::MakeReader()
{
    if (makeReader_)
        return makeReader_();
    return std::make_unique<CKBItemsConvertor>(encoder_.get(), vbCodeChecked_);
}

bool CConvertHelper::RunSteps(CKBReader& reader, CLog& log, const std::string& rulePath,
                              const std::string& targetFolder, WrittenModules* written, Steps steps)
{
    // A reader error ends this file's conversion like a failed step; a batch goes on.
    try {
        if (!reader.LoadModule(rulePath, targetFolder) || !reader.ReadItems()) {
            RememberFailure(reader, "", 0);
            return false;
        }
        if (written && !IsModuleFree(reader, *written))
            return false;
        if (steps == Steps::Check) {
            if (reader.CheckProject())
                return true;
            RememberFailure(reader, "", 0);
            return false;
        }
        // A first conversion that fails leaves no empty project folder behind.
        if (const std::string folder = CFileSystem::JoinPath(targetFolder, reader.ModuleName());
            !reader.ModuleName().empty() && !CFileSystem::EntryExists(folder))
            newProjectFolder_ = folder;
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
    log.FinishConversion(rulePath);
    return true;
}

bool CConvertHelper::IsModuleFree(const CKBReader& reader, const WrittenModules& written)
{
    const auto earlier = written.find(FoldCase(reader.ModuleName()));
    if (earlier == written.end())
        return true;
    failureReason_ = MessageText(kModuleWritten, {{"module", reader.ModuleName()}, {"path", earlier->second}});
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
    return CRuleFileReport::Error(rulePath, failureLine_, failureReason_);
}

std::string CConvertHelper::LogNote(const std::string& rulePath) const
{
    return CRuleFileReport::LogNote(rulePath, logPath_, logProblem_);
}
