#include "platform/FolderLock.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include "platform/FileSystem.h"

// The lock of flock on an open descriptor of the folder: the kernel lets go of it when the
// descriptor closes, also when the process is killed.
struct CFolderLock::Held {
    int folder;
    ~Held() { ::close(folder); }
};

CFolderLock::CFolderLock() = default;

CFolderLock::~CFolderLock() = default;

bool CFolderLock::Lock(const std::string& folder, const std::function<void()>& whileWaiting)
{
    Unlock();
    const int descriptor = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (descriptor < 0) {
        errorText_ = CFileSystem::ErrnoText(errno);
        return false;
    }
    std::unique_ptr<Held> held(new Held{descriptor});
    if (::flock(descriptor, LOCK_EX | LOCK_NB) != 0) {
        if (errno != EWOULDBLOCK) {
            errorText_ = CFileSystem::ErrnoText(errno);
            return false;
        }
        if (whileWaiting)
            whileWaiting();
        while (::flock(descriptor, LOCK_EX) != 0) {
            if (errno != EINTR) {
                errorText_ = CFileSystem::ErrnoText(errno);
                return false;
            }
        }
    }
    held_ = std::move(held);
    return true;
}

void CFolderLock::Unlock()
{
    held_.reset();
}
