#include "lsp/LspRuleCheck.h"

#include <algorithm>
#include <exception>
#include <optional>

#include "common/FoldCase.h"
#include "common/GrowingText.h"
#include "kbfile/KBItemsConvertor.h"
#include "kbfile/KBReaderError.h"
#include "kbitems/KBItem.h"
#include "log/Log.h"
#include "vbproject/VBProjectBuilder.h"

namespace {

constexpr std::string_view kNoReason = "the conversion failed";
// In the order of the builder's kind index.
constexpr std::string_view kKindWords[] = {"Demon", "Event", "Filter", "Method", "Rule", "Sort"};
constexpr std::string_view kEncoding = "encoding";
constexpr std::string_view kUtf8 = "UTF-8";

std::string_view Trimmed(std::string_view line)
{
    const size_t first = line.find_first_not_of(" \t");
    return first == std::string_view::npos ? std::string_view() : line.substr(first);
}

}  // namespace

void CLspRuleCheck::Run(const std::string& text, const std::string& url)
{
    findings_.clear();
    items_.clear();
    // A log without a file: the reader and the items write their lines into nothing.
    CLog::Restart(std::optional<std::string>());
    CKBItemsConvertor reader(nullptr, true);
    bool read = false;
    std::string reason;
    long line = 0;
    int column = 0;
    try {
        read = reader.LoadModuleText(DeclaredUtf8(text), url) && reader.ReadItems();
        ReadItems(reader);
        read = read && reader.CheckProject();
    } catch (const CKBReaderError& error) {
        reason = error.what();
        line = error.Line();
    } catch (const std::exception& error) {
        reason = error.what();
    }
    if (!read) {
        // The reader knows best what went wrong, as the batch tells it.
        if (!reader.FailureReason().empty()) {
            reason = reader.FailureReason();
            line = reader.FailureLine();
            column = reader.FailureColumn();
        }
        findings_.push_back({line, column, 0, true, reason.empty() ? std::string(kNoReason) : reason, true});
    }
    for (const CKBWarning& warning : reader.Warnings())
        findings_.push_back({warning.line, warning.column, warning.length, false, warning.text, false});
}

void CLspRuleCheck::ReadItems(CKBItemsConvertor& reader)
{
    CVBProjectBuilder* builder = reader.Builder();
    if (!builder)
        return;
    builder->VisitItems([this](CKBItem& item, int kind, int itemId) {
        items_.push_back({std::string(kKindWords[kind]), item.sourceLine, itemId, item.CalledRoutines(),
                          DispatchLines(item, itemId)});
    });
}

std::vector<std::string> CLspRuleCheck::DispatchLines(CKBItem& item, int itemId)
{
    // The item's branch as the service class gets it when the item is the first of its kind; the
    // end marker closes what a Demon keeps open across items.
    CGrowingText branch;
    item.GenerateComEntryCode(branch, CKBItem::kFirstBranch, itemId);
    item.GenerateComEntryCode(branch, CKBItem::kEndBranch, itemId);
    std::vector<std::string> lines;
    bool inBranch = false;
    std::string_view text = branch.Text();
    while (!text.empty()) {
        const size_t end = std::min(text.find('\n'), text.size());
        const std::string_view line = Trimmed(text.substr(0, end));
        text.remove_prefix(std::min(end + 1, text.size()));
        if (line.starts_with("If ") && line.ends_with(" Then"))
            inBranch = true;
        else if (line == "End If")
            inBranch = false;
        else if (inBranch && !line.empty())
            lines.emplace_back(line);
    }
    return lines;
}

std::string CLspRuleCheck::DeclaredUtf8(std::string text)
{
    if (!text.starts_with("<?xml"))
        return text;
    const size_t declarationEnd = text.find("?>");
    const size_t name = text.find(kEncoding);
    if (declarationEnd == std::string::npos || name == std::string::npos || name > declarationEnd)
        return text;
    const size_t quote = text.find_first_of("\"'", name + kEncoding.size());
    if (quote == std::string::npos || quote > declarationEnd)
        return text;
    const size_t close = text.find(text[quote], quote + 1);
    if (close == std::string::npos || close > declarationEnd)
        return text;
    const std::string declared = text.substr(quote + 1, close - quote - 1);
    if (FoldCase(declared) == FoldCase(kUtf8) || FoldCase(declared) == "utf8")
        return text;
    // Blanks after the closing quote keep the rest of the line where it was.
    const size_t length = close - quote - 1;
    std::string value(kUtf8);
    value += text[quote];
    if (length > kUtf8.size())
        value.append(length - kUtf8.size(), ' ');
    text.replace(quote + 1, length + 1, value);
    return text;
}
