#include "vbproject/ReplaceJournal.h"

#include <string_view>
#include <utility>

#include "common/MessageText.h"
#include "log/TextFile.h"
#include "platform/FileSearch.h"
#include "platform/FileSink.h"
#include "platform/FileSystem.h"
#include "platform/InputFile.h"

namespace {

constexpr std::string_view kJournalName = ".rulecast-journal";
// The journal's lines: the first, one per entry, and the last, without which it is not whole.
constexpr std::string_view kFirstLine = "rulecast replace journal 1";
constexpr std::string_view kKeptLine = "keep {backup} {name}";
constexpr std::string_view kNewLine = "new {name}";
constexpr std::string_view kLastLine = "end";
constexpr std::string_view kKeep = "keep ";
constexpr std::string_view kNew = "new ";
// A backup's name: the prefix of the program's temporary files, the entry's number and this
// extension; kBackupDigits digits, so that a search with one '?' per digit finds every backup.
constexpr std::string_view kBackupPrefix = ".rulecast-";
constexpr std::string_view kBackupExtension = ".bak";
constexpr size_t kBackupDigits = 12;

constexpr std::string_view kCannotWrite = "cannot write {path}: {reason}";
constexpr std::string_view kCannotKeepAside = "cannot keep {path} aside: {reason}";
constexpr std::string_view kCannotPutBack = "cannot put back {path}: {reason}";
constexpr std::string_view kCannotRemove = "cannot remove {path}: {reason}";
constexpr std::string_view kCannotFlush = "cannot flush folder {path}: {reason}";
constexpr std::string_view kCannotRead = "cannot read {path}: {reason}";
constexpr std::string_view kNotWhole = "{path} is not a whole journal";

std::string BackupName(size_t index)
{
    std::string number = std::to_string(index + 1);
    number.insert(0, kBackupDigits - number.size(), '0');
    return std::string(kBackupPrefix) + number + std::string(kBackupExtension);
}

bool IsBackupName(std::string_view name)
{
    if (name.size() != kBackupPrefix.size() + kBackupDigits + kBackupExtension.size() ||
        !name.starts_with(kBackupPrefix) || !name.ends_with(kBackupExtension))
        return false;
    for (char c : name.substr(kBackupPrefix.size(), kBackupDigits))
        if (c < '0' || c > '9')
            return false;
    return true;
}

// A name in the folder: a journal must not lead anywhere else.
bool IsEntryName(std::string_view name)
{
    return !name.empty() && name != "." && name != ".." &&
           name.find_first_of(CFileSystem::PathSeparators()) == std::string_view::npos;
}

bool ReadWhole(const std::string& path, std::string& text, std::string& error)
{
    CInputFile file;
    if (!file.Open(path)) {
        error = file.ErrorText();
        return false;
    }
    char buffer[4096];
    for (long long count; (count = file.Read(buffer, sizeof buffer)) != 0;) {
        if (count < 0) {
            error = file.ErrorText();
            return false;
        }
        text.append(buffer, static_cast<size_t>(count));
    }
    return true;
}

}  // namespace

CReplaceJournal::CReplaceJournal(std::string folder, CFileSink* sink)
    : folder_(std::move(folder)), sink_(sink ? sink : &CFileSink::Disk())
{
}

void CReplaceJournal::Add(const std::string& path)
{
    const size_t separator = path.find_last_of(CFileSystem::PathSeparators());
    entries_.push_back({separator == std::string::npos ? path : path.substr(separator + 1), ""});
}

std::string CReplaceJournal::PathOf(const std::string& name) const
{
    return CFileSystem::JoinPath(folder_, name);
}

bool CReplaceJournal::Fail(const std::string& what, const std::string& path, const std::string& reason)
{
    if (errorText_.empty())
        errorText_ = MessageText(what, {{"path", path}, {"reason", reason}});
    return false;
}

std::string CReplaceJournal::JournalText() const
{
    std::string text = std::string(kFirstLine) + "\n";
    for (const Entry& entry : entries_) {
        text += entry.backup.empty() ? MessageText(kNewLine, {{"name", entry.name}})
                                     : MessageText(kKeptLine, {{"backup", entry.backup}, {"name", entry.name}});
        text += "\n";
    }
    return text + std::string(kLastLine) + "\n";
}

bool CReplaceJournal::ReadText(const std::string& text)
{
    std::vector<std::string> lines;
    for (size_t start = 0; start < text.size();) {
        size_t end = text.find('\n', start);
        if (end == std::string::npos)
            return false;  // cut off in the middle of a line
        std::string line = text.substr(start, end - start);
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        lines.push_back(std::move(line));
        start = end + 1;
    }
    if (lines.size() < 2 || lines.front() != kFirstLine || lines.back() != kLastLine)
        return false;
    for (size_t i = 1; i + 1 < lines.size(); ++i) {
        std::string_view line = lines[i];
        Entry entry;
        if (line.starts_with(kNew)) {
            entry.name = line.substr(kNew.size());
        } else if (line.starts_with(kKeep)) {
            line.remove_prefix(kKeep.size());
            const size_t space = line.find(' ');
            if (space == std::string_view::npos || !IsBackupName(line.substr(0, space)))
                return false;
            entry.backup = line.substr(0, space);
            entry.name = line.substr(space + 1);
        }
        if (!IsEntryName(entry.name))
            return false;
        entries_.push_back(std::move(entry));
    }
    return true;
}

bool CReplaceJournal::WriteJournal()
{
    CTextFile file;
    file.SetSink(sink_);
    const std::string path = PathOf(std::string(kJournalName));
    if (!file.OpenReplacing(path) || !file.Write(JournalText()) || !file.Commit())
        return Fail(std::string(kCannotWrite), path, file.ErrorText());
    // The journal must be on the disk before the first entry moves.
    std::string error;
    return sink_->FlushFolder(folder_, error) || Fail(std::string(kCannotFlush), folder_, error);
}

bool CReplaceJournal::Begin()
{
    for (size_t i = 0; i < entries_.size(); ++i)
        entries_[i].backup = CFileSystem::NameTaken(PathOf(entries_[i].name)) ? BackupName(i) : "";
    if (!WriteJournal())
        return false;
    std::string error;
    for (const Entry& entry : entries_) {
        if (!entry.backup.empty() && !sink_->Rename(PathOf(entry.name), PathOf(entry.backup), error))
            return Fail(std::string(kCannotKeepAside), PathOf(entry.name), error);
    }
    return true;
}

bool CReplaceJournal::Commit()
{
    if (!RemoveJournal())
        return false;
    // The replacement stands. What follows only tidies up: a backup that stays is removed by the
    // next conversion into the folder.
    std::string error;
    for (const Entry& entry : entries_)
        if (!entry.backup.empty())
            sink_->Remove(PathOf(entry.backup), error);
    return true;
}

bool CReplaceJournal::Undo()
{
    errorText_.clear();
    std::string error;
    // Each entry as far as it can be: one that cannot be put back keeps no other from it.
    for (auto entry = entries_.rbegin(); entry != entries_.rend(); ++entry) {
        const std::string path = PathOf(entry->name);
        if (entry->backup.empty()) {
            if (!sink_->Remove(path, error))
                Fail(std::string(kCannotRemove), path, error);
        } else if (CFileSystem::NameTaken(PathOf(entry->backup)) &&
                   !sink_->Rename(PathOf(entry->backup), path, error)) {
            Fail(std::string(kCannotPutBack), path, error);
        }
    }
    return errorText_.empty() && RemoveJournal();
}

// The folder's entries reach the disk before the journal goes, and its going reaches it after.
bool CReplaceJournal::RemoveJournal()
{
    std::string error;
    if (!sink_->FlushFolder(folder_, error))
        return Fail(std::string(kCannotFlush), folder_, error);
    const std::string journal = PathOf(std::string(kJournalName));
    if (!sink_->Remove(journal, error))
        return Fail(std::string(kCannotRemove), journal, error);
    sink_->FlushFolder(folder_, error);
    return true;
}

CReplaceJournal::Recovery CReplaceJournal::Recover(const std::string& folder, CFileSink* sink, std::string& whyNot)
{
    CReplaceJournal replacement(folder, sink);
    const std::string journal = replacement.PathOf(std::string(kJournalName));
    Recovery recovery = Recovery::kNothing;
    if (CFileSystem::NameTaken(journal)) {
        std::string text, error;
        if (!ReadWhole(journal, text, error)) {
            whyNot = MessageText(kCannotRead, {{"path", journal}, {"reason", error}});
            return Recovery::kFailed;
        }
        if (!replacement.ReadText(text)) {
            whyNot = MessageText(kNotWhole, {{"path", journal}});
            return Recovery::kFailed;
        }
        if (!replacement.Undo()) {
            whyNot = replacement.ErrorText();
            return Recovery::kFailed;
        }
        recovery = Recovery::kUndone;
    }
    const std::string backups =
        std::string(kBackupPrefix) + std::string(kBackupDigits, '?') + std::string(kBackupExtension);
    std::string error;
    for (const std::string& path : CFileSearch::Find(folder + "/" + backups))
        replacement.sink_->Remove(path, error);
    return recovery;
}
