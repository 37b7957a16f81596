#pragma once

#include <functional>
#include <memory>
#include <string>

// An exclusive lock on a folder, so that one process at a time writes into it. Nothing is left
// on disk, and a process that ends, however it ends, lets go of its lock. Within one process a
// second lock on the same folder is granted on Windows, where the lock belongs to the thread.
class CFolderLock {
public:
    CFolderLock();
    ~CFolderLock();
    CFolderLock(const CFolderLock&) = delete;
    CFolderLock& operator=(const CFolderLock&) = delete;

    // Takes the lock on folder (a link to a folder locks the folder), waiting for whoever holds
    // it; whileWaiting, when given, is called once before the wait begins. False, with
    // ErrorText, when the folder cannot be locked.
    bool Lock(const std::string& folder, const std::function<void()>& whileWaiting = nullptr);
    void Unlock();
    // The system's words for the last failure.
    const std::string& ErrorText() const { return errorText_; }

private:
    // What the system holds the lock by: an open folder, or a named mutex.
    struct Held;
    std::unique_ptr<Held> held_;
    std::string errorText_;
};
