#pragma once

#include <cstdio>
#include <string>

// Folders and entries on disk.
class CFileSystem {
public:
    // Error codes of CreateFolder, as the callers test them.
    static constexpr int kCreated = 0;
    static constexpr int kAlreadyExists = 183;
    static constexpr int kNotReady = 21;

    // Creates one folder (parents are not created). 0, kAlreadyExists, kNotReady, or another
    // nonzero code (the system's own) for any other failure.
    static int CreateFolder(const std::string& path);
    // Why CreateFolder failed, in the C library's words ("No such file or directory").
    static std::string FolderErrorText(int code);
    // The folder holding the running executable, with its trailing separator.
    static std::string ExecutableFolder();
    static bool EntryExists(const std::string& path);
    // Whether path names a folder, or a link to one.
    static bool IsFolder(const std::string& path);
    // Whether path is a symbolic link that neither this user nor the administrator owns: one that
    // another user may have planted in a folder they share, to lead this user's writing elsewhere.
    static bool IsLinkOfAnotherUser(const std::string& path);
    // A pipe, socket or device: reading one may block or never end.
    static bool IsDeviceOrPipe(const std::string& path);
    static std::string CurrentFolder();
    // The path as a URL that names resolve against: a Unix path is one as it stands; a Windows
    // path becomes file:///C:/... .
    static std::string PathAsUrl(const std::string& path);

    // The file opened for reading its bytes; nullptr, with errno set, when it cannot be.
    static std::FILE* OpenForReading(const std::string& path);
    // The C library's words for an errno value ("No space left on device").
    static std::string ErrnoText(int errorNumber);
    // name in folder, joined with the platform's separator ("C:\\Out\\Plant", "/out/Plant"); one
    // that folder already ends in is not doubled.
    static std::string JoinPath(const std::string& folder, const std::string& name);
    // The last component of path without its last extension: "/r/Pumps.v2.pxkbx" gives "Pumps.v2".
    static std::string NameWithoutExtension(const std::string& path);
};
