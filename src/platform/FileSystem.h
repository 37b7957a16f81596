#pragma once

#include <string>

// Folders and entries on disk.
class CFileSystem {
public:
    // Error codes of CreateFolder, as the callers test them.
    static constexpr int kCreated = 0;
    static constexpr int kAlreadyExists = 183;
    static constexpr int kNotReady = 21;

    // Creates one folder (parents are not created). 0, kAlreadyExists, kNotReady, or another
    // nonzero code (the errno) for any other failure.
    static int CreateFolder(const std::string& path);
    // The folder holding the running executable, with its trailing "/".
    static std::string ExecutableFolder();
    static bool EntryExists(const std::string& path);
    // A pipe, socket or device: reading one may block or never end.
    static bool IsDeviceOrPipe(const std::string& path);
    static std::string CurrentFolder();
    // The last component of path without its last extension: "/r/Pumps.v2.pxkbx" gives "Pumps.v2".
    static std::string NameWithoutExtension(const std::string& path);
};
