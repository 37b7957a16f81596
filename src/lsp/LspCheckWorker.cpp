#include "lsp/LspCheckWorker.h"

#include <utility>

#include "platform/WorkerThread.h"

CLspCheckWorker::CLspCheckWorker(Publish publish, std::chrono::milliseconds quiet)
    : publish_(std::move(publish)), quiet_(quiet), thread_(CWorkerThread::Start([this] { Loop(); }))
{
}

CLspCheckWorker::~CLspCheckWorker()
{
    {
        std::lock_guard<std::mutex> lock(mutex_);
        stopping_ = true;
    }
    wake_.notify_all();
    thread_.join();
}

void CLspCheckWorker::Submit(const std::string& uri, int version, std::string text, bool now)
{
    {
        std::lock_guard<std::mutex> lock(mutex_);
        open_.insert(uri);
        const auto due = std::chrono::steady_clock::now() + (now ? std::chrono::milliseconds(0) : quiet_);
        pending_[uri] = {version, std::move(text), due};
    }
    wake_.notify_all();
}

void CLspCheckWorker::Forget(const std::string& uri)
{
    std::lock_guard<std::mutex> lock(mutex_);
    open_.erase(uri);
    pending_.erase(uri);
    latest_.erase(uri);
}

std::shared_ptr<const CLspCheckWorker::Result> CLspCheckWorker::Latest(const std::string& uri) const
{
    std::lock_guard<std::mutex> lock(mutex_);
    const auto found = latest_.find(uri);
    return found == latest_.end() ? nullptr : found->second;
}

bool CLspCheckWorker::TakeNext(std::unique_lock<std::mutex>& lock, std::string& uri, Pending& taken)
{
    while (!stopping_) {
        auto next = pending_.begin();
        for (auto it = pending_.begin(); it != pending_.end(); ++it) {
            if (it->second.due < next->second.due)
                next = it;
        }
        if (next == pending_.end()) {
            wake_.wait(lock);
        } else if (next->second.due > std::chrono::steady_clock::now()) {
            wake_.wait_until(lock, next->second.due);
        } else {
            uri = next->first;
            taken = std::move(next->second);
            pending_.erase(next);
            return true;
        }
    }
    return false;
}

void CLspCheckWorker::Loop()
{
    std::unique_lock<std::mutex> lock(mutex_);
    std::string uri;
    Pending taken;
    CLspRuleCheck check;
    while (TakeNext(lock, uri, taken)) {
        lock.unlock();
        check.Run(taken.text, uri);
        auto result = std::make_shared<Result>(Result{std::move(taken.text), taken.version, check.Findings(), check.Items()});
        lock.lock();
        // A newer text, or a closed document, makes this check's findings stale.
        if (pending_.contains(uri) || !open_.contains(uri))
            continue;
        latest_[uri] = result;
        // Under the lock, so that a close that comes meanwhile is told after it, not before.
        publish_(uri, *result);
    }
}
