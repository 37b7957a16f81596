#pragma once

#include <cstdio>
#include <string>
#include <string_view>

// What writing a file and putting it in its place asks of the disk: opening or creating a file,
// writing bytes, flushing them through to the disk, renaming a whole file over another and
// removing one. The real disk is this class itself; the tests put a disk that fills up or a rename
// that fails in its place, the way ninja's tests put a fake disk under its builder, so that the
// same failures are tried on every platform.
class CFileSink {
public:
    // Why a file may not be replaced, in the words of the messages.
    static constexpr std::string_view kReadOnly = "it is read-only";
    static constexpr std::string_view kOpenElsewhere = "it is open in another program";
    static constexpr std::string_view kImmutable = "it is immutable";
    static constexpr std::string_view kAppendOnly = "it is append-only";
    static constexpr std::string_view kOtherUsersInSharedFolder =
        "it belongs to another user in a folder whose entries only their owners may rename";

    virtual ~CFileSink() = default;

    // Each returns false, with why in error ("No space left on device"), when it fails.
    // Opens the file at path for reading and writing from its start: creates it, or empties the
    // one there (fopen's "w+"); none when it fails.
    virtual std::FILE* Open(const std::string& path, std::string& error);
    // Creates a new file at path for reading and writing, never one that exists (errno is then
    // EEXIST); none when it fails.
    virtual std::FILE* Create(const std::string& path, std::string& error);
    // Hands count bytes to file.
    virtual bool Write(std::FILE* file, const char* bytes, size_t count, std::string& error);
    // Flushes what file holds to the disk itself (fsync, FlushFileBuffers), so that a crash after
    // a rename cannot leave an empty file in the earlier one's place.
    virtual bool Flush(std::FILE* file, std::string& error);
    // Asks the disk to start writing what file holds, without waiting, so that Flush finds
    // little left to wait for; where the system has no such call, it does nothing.
    virtual void StartFlush(std::FILE* file);
    // Puts the file at from in to's place, replacing whatever entry is there, a link included.
    virtual bool Rename(const std::string& from, const std::string& to, std::string& error);
    // Removes the entry at path; one that is not there counts as removed.
    virtual bool Remove(const std::string& path, std::string& error);
    // Makes the folder's entries, as renames and removals left them, last through a crash; where
    // the system writes them through by itself (Windows), it does nothing.
    virtual bool FlushFolder(const std::string& folder, std::string& error);

    // The real disk, for files that were given no other.
    static CFileSink& Disk();
    // Why the file at path may not be replaced (kReadOnly, kOpenElsewhere, kImmutable,
    // kAppendOnly, kOtherUsersInSharedFolder); empty when it may, or when there is none.
    static std::string ReplaceProblem(const std::string& path);
    // Gives file, new, the owner, group and permission bits of the file at replacedPath, which it
    // is to replace, as far as this process may give them; where a new file takes its rights from
    // the folder (Windows), it does nothing.
    static void KeepPermissions(std::FILE* file, const std::string& replacedPath);
};
