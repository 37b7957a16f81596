#pragma once

#include <chrono>
#include <cstdio>
#include <map>
#include <memory>
#include <optional>
#include <string>

#include <nlohmann/json_fwd.hpp>

#include "lsp/LspChannel.h"
#include "lsp/LspCheckWorker.h"
#include "lsp/LspDocument.h"

// A Language Server Protocol 3.17 server for rule files on a byte channel (`rulecast --lsp`):
// diagnostics of the open files as the editor holds them, their outline, go to definition and
// hover. It writes no file: no project, no log, no config.txt.
class CLspServer {
public:
    // quiet: how long the editor must send no change before a file is checked.
    CLspServer(std::FILE* in, std::FILE* out, std::chrono::milliseconds quiet = kQuiet);
    ~CLspServer();

    // Serves until the client says exit or goes away. The process's exit status: 0 after an exit
    // that shutdown came before, 1 otherwise.
    int Run();

    static constexpr std::chrono::milliseconds kQuiet{30};

private:
    void Handle(const std::string& body);
    void HandleObject(const nlohmann::json& message);
    void Respond(const nlohmann::json& id, const nlohmann::json& result);
    void RespondError(const nlohmann::json& id, int code, const std::string& message);
    void Notify(const std::string& method, const nlohmann::json& params);
    // The answer to a request that the server knows, or an error.
    void Answer(const std::string& method, const nlohmann::json& id, const nlohmann::json& params);
    void Note(const std::string& method, const nlohmann::json& params);

    nlohmann::json Capabilities() const;
    void Open(const nlohmann::json& params);
    void Change(const nlohmann::json& params);
    void Close(const nlohmann::json& params);
    // The open document that a request's params name; none after an error answer for id.
    CLspDocument* Requested(const nlohmann::json& id, const nlohmann::json& params);
    void Publish(const std::string& uri, const CLspCheckWorker::Result& result);

    CLspChannel channel_;
    std::map<std::string, CLspDocument> documents_;
    bool initialized_ = false;
    bool shutdownRequested_ = false;
    std::optional<int> exitStatus_;
    // Last, so that its thread, which writes through the channel, ends first.
    std::unique_ptr<CLspCheckWorker> worker_;
};
