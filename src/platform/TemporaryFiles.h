#pragma once

#include <functional>
#include <string>

// The temporary files this process is writing, removed when it is interrupted (SIGINT, SIGTERM,
// SIGHUP; Ctrl+C, Ctrl+Break or a closed console on Windows), after which the process ends with
// the status that interruption gives. A process killed outright leaves them behind: whoever
// writes into that folder next removes them.
//
// The one list is the process's own, not an object's: a signal handler reaches nothing else.
class CTemporaryFiles {
public:
    // Installs the handlers; once, at start-up. An interruption that the process was started to
    // ignore (nohup) stays ignored. A write past the file-size limit (ulimit -f) then fails with
    // "File too large", like a full disk, instead of ending the process.
    static void InstallHandlers();
    // Runs create, which makes the file at path, with interruptions held off, and lists path when
    // create returns true: no interruption comes between a file and its listing.
    static bool Create(const std::string& path, const std::function<bool()>& create);
    // path is no longer this process's to remove: renamed into place, or removed already.
    static void Forget(const std::string& path);
};
