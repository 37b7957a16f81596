#pragma once

#include <chrono>
#include <condition_variable>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "lsp/LspRuleCheck.h"

// Checks the open rule files on a thread of its own, one check at a time: a text handed over is
// checked once the editor has sent no newer one for a short while, and what a check of a text
// that has since changed or closed finds is dropped, never shown.
class CLspCheckWorker {
public:
    // What a check found in one text, for the editor: the text itself, its version, the findings
    // and the items.
    struct Result {
        std::string text;
        int version = 0;
        std::vector<CLspRuleCheck::Finding> findings;
        std::vector<CLspRuleCheck::Item> items;
    };
    using Publish = std::function<void(const std::string& uri, const Result& result)>;

    // publish is called on the worker's thread, for every check that is still current.
    CLspCheckWorker(Publish publish, std::chrono::milliseconds quiet);
    ~CLspCheckWorker();
    CLspCheckWorker(const CLspCheckWorker&) = delete;
    CLspCheckWorker& operator=(const CLspCheckWorker&) = delete;

    // Checks text, the document's version, after the quiet time, or right away.
    void Submit(const std::string& uri, int version, std::string text, bool now);
    // The document was closed: nothing more is checked or shown of it.
    void Forget(const std::string& uri);
    // The last result shown for uri; none before the first.
    std::shared_ptr<const Result> Latest(const std::string& uri) const;

private:
    struct Pending {
        int version = 0;
        std::string text;
        std::chrono::steady_clock::time_point due;
    };

    void Loop();
    // Takes the pending text that is due first; false when the worker stops.
    bool TakeNext(std::unique_lock<std::mutex>& lock, std::string& uri, Pending& taken);

    Publish publish_;
    std::chrono::milliseconds quiet_;
    mutable std::mutex mutex_;
    std::condition_variable wake_;
    std::map<std::string, Pending> pending_;
    std::set<std::string> open_;
    std::map<std::string, std::shared_ptr<const Result>> latest_;
    bool stopping_ = false;
    // Last, so that it starts once everything it uses is there.
    std::thread thread_;
};
