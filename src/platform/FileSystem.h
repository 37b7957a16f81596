#pragma once

#include <cstdio>
#include <string>
#include <string_view>

// Folders and entries on disk.
class CFileSystem {
public:
    // How CreateFolder ended, as its callers tell the outcomes apart. A file of that name counts
    // as AlreadyExists; NotReady is a drive without its medium.
    enum class FolderOutcome { Created, AlreadyExists, NotReady, Failed };

    // Creates one folder (parents are not created).
    static FolderOutcome CreateFolder(const std::string& path);
    // The same; when the folder was not created, whyNot says why in the C library's words
    // ("No such file or directory"), or "device not ready".
    static FolderOutcome CreateFolder(const std::string& path, std::string& whyNot);
    // A system error code of this platform (errno; on Windows GetLastError's) in the words
    // CreateFolder gives, for the platform's own files.
    static std::string FolderErrorText(int code);
    // Removes the folder when it is empty; one that holds anything stays. True when it is gone.
    static bool RemoveEmptyFolder(const std::string& path);
    // The folder holding the running executable, with its trailing separator.
    static std::string ExecutableFolder();
    static bool EntryExists(const std::string& path);
    // Whether any entry has that name, a link that leads nowhere included.
    static bool NameTaken(const std::string& path);
    // Whether path names a folder, or a link to one.
    static bool IsFolder(const std::string& path);
    // Whether path names a folder itself, not following a link.
    static bool NamesFolder(const std::string& path);
    // Whether path is a symbolic link that neither this user nor the administrator owns: one that
    // another user may have planted in a folder they share, to lead this user's writing elsewhere.
    static bool IsLinkOfAnotherUser(const std::string& path);
    static std::string CurrentFolder();

    // The C library's words for an errno value ("No space left on device").
    static std::string ErrnoText(int errorNumber);
    // The characters that end a folder's name in a path: "/", and on Windows "\\" too.
    static std::string_view PathSeparators();
    // name in folder, joined with the platform's separator ("C:\\Out\\Plant", "/out/Plant"); one
    // that folder already ends in is not doubled.
    static std::string JoinPath(const std::string& folder, const std::string& name);
};
