#pragma once

#include <string>

// Where the program keeps files of its own: the conversion logs and config.txt. Beside the
// executable first, where they have always been; when that folder cannot take a file, or is a
// folder of the system, in folders that belong to the user. Every folder ends in its separator;
// an empty one is no place at all.
struct CProgramFolders {
    std::string executable;
    // The user's folder for logs, created when first needed.
    std::string userLogs;
    // The user's folder for config.txt, created when first needed.
    std::string userConfig;
    // The executable lies in a folder of the system, where an installed copy lies (/usr/bin,
    // Program Files): files there are read, never written, whoever runs it, root included. They
    // would outlive the package and be every user's.
    bool executableInSystem = false;

    // The running executable's folder and this user's own folders.
    static CProgramFolders ForThisUser();
    // Creates folder and any missing parents, open to the user alone. True when it exists then.
    static bool MakeUserFolder(const std::string& folder);
    // Whether folder is one the system's programs are installed in: on Linux below /usr, /bin,
    // /sbin, /lib or /opt and owned by root; on Windows below Program Files.
    static bool IsSystemFolder(const std::string& folder);
    // True when the file exists and this user may write it.
    static bool CanWrite(const std::string& path);
};
