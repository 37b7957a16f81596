#include "lsp/LspServer.h"

#include <utility>

#include <nlohmann/json.hpp>

#include "common/MessageText.h"
#include "lsp/LspDiagnostics.h"
#include "lsp/LspNavigation.h"
#include "lsp/LspOutline.h"
#include "lsp/LspRuleMap.h"

namespace {

// JSON-RPC's and the protocol's error codes.
constexpr int kParseError = -32700;
constexpr int kInvalidRequest = -32600;
constexpr int kMethodNotFound = -32601;
constexpr int kInvalidParams = -32602;
constexpr int kServerNotInitialized = -32002;
constexpr int kRequestFailed = -32803;

constexpr std::string_view kNotJson = "the message is no JSON: {reason}";
constexpr std::string_view kBadHeader = "a message's header has no usable Content-Length";
constexpr std::string_view kNotRequest = "the message is no request, notification or response";
constexpr std::string_view kNotInitialized = "the server is not initialized";
constexpr std::string_view kShutDown = "the server is shutting down";
constexpr std::string_view kUnknownMethod = "unknown method '{method}'";
constexpr std::string_view kBadParams = "the parameters of '{method}' do not fit it: {reason}";
constexpr std::string_view kNotOpen = "the document is not open: {uri}";
constexpr std::string_view kServerName = "rulecast";

// Incremental text synchronisation.
constexpr int kIncremental = 2;

}  // namespace

CLspServer::CLspServer(std::FILE* in, std::FILE* out, std::chrono::milliseconds quiet)
    : channel_(in, out),
      worker_(std::make_unique<CLspCheckWorker>(
          [this](const std::string& uri, const CLspCheckWorker::Result& result) { Publish(uri, result); }, quiet))
{
}

CLspServer::~CLspServer() = default;

int CLspServer::Run()
{
    std::string body;
    while (!exitStatus_) {
        switch (channel_.ReadMessage(body)) {
        case CLspChannel::Read::Closed:
            // The client went away without the protocol's goodbye.
            return shutdownRequested_ ? 0 : 1;
        case CLspChannel::Read::BadHeader:
            RespondError(nullptr, kParseError, std::string(kBadHeader));
            break;
        case CLspChannel::Read::Message:
            Handle(body);
            break;
        }
    }
    return *exitStatus_;
}

void CLspServer::Handle(const std::string& body)
{
    nlohmann::json message;
    try {
        message = nlohmann::json::parse(body);
    } catch (const nlohmann::json::exception& error) {
        return RespondError(nullptr, kParseError, MessageText(kNotJson, {{"reason", std::string_view(error.what())}}));
    }
    HandleObject(message);
}

void CLspServer::HandleObject(const nlohmann::json& message)
{
    const bool isObject = message.is_object();
    const auto method = isObject ? message.find("method") : message.end();
    if (!isObject || method == message.end() || !method->is_string()) {
        // A response to a request of ours: the server sends none, so there is nothing to match.
        if (isObject && message.contains("id") && (message.contains("result") || message.contains("error")))
            return;
        const nlohmann::json id = isObject && message.contains("id") ? message["id"] : nlohmann::json();
        return RespondError(id, kInvalidRequest, std::string(kNotRequest));
    }
    const nlohmann::json params = message.value("params", nlohmann::json::object());
    if (message.contains("id"))
        Answer(method->get<std::string>(), message["id"], params);
    else
        Note(method->get<std::string>(), params);
}

void CLspServer::Answer(const std::string& method, const nlohmann::json& id, const nlohmann::json& params)
{
    if (method != "initialize" && !initialized_)
        return RespondError(id, kServerNotInitialized, std::string(kNotInitialized));
    if (shutdownRequested_)
        return RespondError(id, kInvalidRequest, std::string(kShutDown));
    try {
        if (method == "initialize") {
            initialized_ = true;
            return Respond(id, {{"capabilities", Capabilities()},
                                {"serverInfo", {{"name", kServerName}, {"version", RULECAST_VERSION}}}});
        }
        if (method == "shutdown") {
            shutdownRequested_ = true;
            return Respond(id, nullptr);
        }
        const bool known = method == "textDocument/documentSymbol" || method == "textDocument/definition" ||
                           method == "textDocument/hover";
        if (!known)
            return RespondError(id, kMethodNotFound, MessageText(kUnknownMethod, {{"method", method}}));
        CLspDocument* document = Requested(id, params);
        if (!document)
            return;
        const CLspRuleMap map(document->Text());
        if (method == "textDocument/documentSymbol")
            return Respond(id, CLspOutline(*document, map).Symbols());
        const std::string uri = params.at("textDocument").at("uri").get<std::string>();
        const LspPosition position{params.at("position").at("line").get<int>(),
                                   params.at("position").at("character").get<int>()};
        const CLspNavigation navigation(*document, map, worker_->Latest(uri));
        if (method == "textDocument/definition")
            return Respond(id, navigation.Definition(position, uri));
        Respond(id, navigation.Hover(position));
    } catch (const nlohmann::json::exception& error) {
        RespondError(id, kInvalidParams,
                     MessageText(kBadParams, {{"method", method}, {"reason", std::string_view(error.what())}}));
    }
}

void CLspServer::Note(const std::string& method, const nlohmann::json& params)
{
    if (method == "exit") {
        exitStatus_ = shutdownRequested_ ? 0 : 1;
        return;
    }
    if (!initialized_ || shutdownRequested_)
        return;
    // A notification gets no answer, not even an error: one that does not fit is passed over.
    try {
        if (method == "textDocument/didOpen")
            Open(params);
        else if (method == "textDocument/didChange")
            Change(params);
        else if (method == "textDocument/didSave") {
            const auto document = documents_.find(params.at("textDocument").at("uri").get<std::string>());
            if (document != documents_.end())
                worker_->Submit(document->first, document->second.Version(), document->second.Text(), true);
        } else if (method == "textDocument/didClose")
            Close(params);
    } catch (const nlohmann::json::exception&) {
    }
}

nlohmann::json CLspServer::Capabilities() const
{
    return {{"textDocumentSync", {{"openClose", true}, {"change", kIncremental}, {"save", {{"includeText", false}}}}},
            {"documentSymbolProvider", true},
            {"definitionProvider", true},
            {"hoverProvider", true}};
}

void CLspServer::Open(const nlohmann::json& params)
{
    const nlohmann::json& item = params.at("textDocument");
    const std::string uri = item.at("uri").get<std::string>();
    const int version = item.value("version", 0);
    auto [document, added] = documents_.insert_or_assign(uri, CLspDocument(item.at("text").get<std::string>(), version));
    worker_->Submit(uri, version, document->second.Text(), true);
}

void CLspServer::Change(const nlohmann::json& params)
{
    const nlohmann::json& item = params.at("textDocument");
    const auto found = documents_.find(item.at("uri").get<std::string>());
    if (found == documents_.end())
        return;
    CLspDocument& document = found->second;
    for (const nlohmann::json& change : params.at("contentChanges")) {
        const std::string text = change.at("text").get<std::string>();
        if (!change.contains("range")) {
            document.SetText(text);
            continue;
        }
        const nlohmann::json& range = change.at("range");
        document.Replace({range.at("start").at("line").get<int>(), range.at("start").at("character").get<int>()},
                         {range.at("end").at("line").get<int>(), range.at("end").at("character").get<int>()}, text);
    }
    document.SetVersion(item.value("version", document.Version() + 1));
    worker_->Submit(found->first, document.Version(), document.Text(), false);
}

void CLspServer::Close(const nlohmann::json& params)
{
    const std::string uri = params.at("textDocument").at("uri").get<std::string>();
    documents_.erase(uri);
    worker_->Forget(uri);
    // What was shown of it goes with it.
    Notify("textDocument/publishDiagnostics", {{"uri", uri}, {"diagnostics", nlohmann::json::array()}});
}

CLspDocument* CLspServer::Requested(const nlohmann::json& id, const nlohmann::json& params)
{
    const std::string uri = params.at("textDocument").at("uri").get<std::string>();
    const auto found = documents_.find(uri);
    if (found != documents_.end())
        return &found->second;
    RespondError(id, kRequestFailed, MessageText(kNotOpen, {{"uri", uri}}));
    return nullptr;
}

void CLspServer::Publish(const std::string& uri, const CLspCheckWorker::Result& result)
{
    Notify("textDocument/publishDiagnostics",
           {{"uri", uri}, {"version", result.version}, {"diagnostics", CLspDiagnostics(result.text, result.items).Make(result.findings)}});
}

void CLspServer::Respond(const nlohmann::json& id, const nlohmann::json& result)
{
    channel_.Write(nlohmann::json{{"jsonrpc", "2.0"}, {"id", id}, {"result", result}}.dump(
        -1, ' ', false, nlohmann::json::error_handler_t::replace));
}

void CLspServer::RespondError(const nlohmann::json& id, int code, const std::string& message)
{
    channel_.Write(nlohmann::json{{"jsonrpc", "2.0"}, {"id", id}, {"error", {{"code", code}, {"message", message}}}}.dump(
        -1, ' ', false, nlohmann::json::error_handler_t::replace));
}

void CLspServer::Notify(const std::string& method, const nlohmann::json& params)
{
    channel_.Write(nlohmann::json{{"jsonrpc", "2.0"}, {"method", method}, {"params", params}}.dump(
        -1, ' ', false, nlohmann::json::error_handler_t::replace));
}
