#include "lsp/LspDiagnostics.h"

#include <algorithm>

#include <nlohmann/json.hpp>

#include "common/Utf8.h"
#include "lsp/LspColumns.h"
#include "lsp/LspRenames.h"

namespace {

constexpr int kError = 1;
constexpr int kWarning = 2;
constexpr std::string_view kSource = "rulecast";

nlohmann::json PositionJson(LspPosition position)
{
    return {{"line", position.line}, {"character", position.character}};
}

}  // namespace

CLspDiagnostics::CLspDiagnostics(const std::string& text, const std::vector<CLspRuleCheck::Item>& items)
    : document_(text, 0), map_(document_.Text()), renames_(document_, map_, items)
{
}

nlohmann::json CLspDiagnostics::Make(const std::vector<CLspRuleCheck::Finding>& findings) const
{
    nlohmann::json diagnostics = nlohmann::json::array();
    for (const CLspRuleCheck::Finding& finding : findings) {
        const Range range = RangeOf(finding);
        diagnostics.push_back({{"range", {{"start", PositionJson(range.start)}, {"end", PositionJson(range.end)}}},
                               {"severity", finding.error ? kError : kWarning},
                               {"source", kSource},
                               {"message", finding.message}});
    }
    return diagnostics;
}

CLspDiagnostics::Range CLspDiagnostics::RangeOf(const CLspRuleCheck::Finding& finding) const
{
    // A finding of no known line is about the file as a whole: its first line stands for it.
    const int line = finding.line > 0 ? static_cast<int>(finding.line) - 1 : 0;
    if (finding.column > 0)
        return TokenRange(line, finding);
    Range range;
    if (StartTagRange(line, finding.message, range))
        return range;
    return LineRange(line);
}

CLspDiagnostics::Range CLspDiagnostics::TokenRange(int line, const CLspRuleCheck::Finding& finding) const
{
    const std::string_view text = document_.Line(line);
    size_t from = 0;
    if (!finding.columnOfLine) {
        bool inGlobalCode = false;
        from = TextStart(line, inGlobalCode);
        // GlobalCode.bas gets each line of the global code without its leading blanks.
        if (inGlobalCode)
            from = std::min(text.find_first_not_of(" \t\v\f\r", from), text.size());
    }
    const std::vector<CLspRenames::Rename> renames = finding.columnOfLine ? std::vector<CLspRenames::Rename>()
                                                                          : renames_.OnLine(line);
    const std::string_view code = text.substr(from);
    size_t to = from + CLspRenames::BytesUpTo(code, finding.column + std::max(finding.length, 1), renames);
    from += CLspRenames::BytesUpTo(code, finding.column, renames);
    // A column at the line's end, where the parser stopped, points at the character before it.
    if (from == to && from > 0) {
        --from;
        while (from > 0 && CUtf8::IsContinuation(static_cast<unsigned char>(text[from])))
            --from;
    }
    return {{line, CLspColumns::Utf16Units(text.substr(0, from))}, {line, CLspColumns::Utf16Units(text.substr(0, to))}};
}

size_t CLspDiagnostics::TextStart(int line, bool& inGlobalCode) const
{
    const size_t lineStart = document_.LineStart(line);
    const size_t lineEnd = lineStart + document_.Line(line).size();
    size_t start = 0;
    for (const CLspRuleMap::Element& element : map_.Elements()) {
        for (const CLspRuleMap::Span& span : element.texts) {
            if (span.start > lineEnd || span.end < lineStart)
                continue;
            // On the line where a text starts after markup, its first line's columns count from there.
            if (span.start > lineStart)
                start = span.start - lineStart;
            inGlobalCode = element.name == "GlobalCode";
        }
    }
    return start;
}

bool CLspDiagnostics::StartTagRange(int line, const std::string& message, Range& range) const
{
    int chosen = -1;
    const auto& elements = map_.Elements();
    for (size_t i = 0; i < elements.size(); ++i) {
        const CLspRuleMap::Span tag = elements[i].startTag;
        if (tag.end == 0 || document_.LineOf(tag.end - 1) != line)
            continue;
        const std::string_view name = map_.NameOf(static_cast<int>(i));
        // Of several elements on the line, the one the message names.
        const bool named = message.find("<" + elements[i].name + ">") != std::string::npos ||
                           (!name.empty() && message.find("'" + std::string(name) + "'") != std::string::npos);
        if (chosen < 0 || named)
            chosen = static_cast<int>(i);
        if (named)
            break;
    }
    if (chosen < 0)
        return false;
    const CLspRuleMap::Span tag = elements[static_cast<size_t>(chosen)].startTag;
    range = {document_.PositionOf(tag.start), document_.PositionOf(tag.end)};
    return true;
}

CLspDiagnostics::Range CLspDiagnostics::LineRange(int line) const
{
    const std::string_view text = document_.Line(line);
    const size_t first = text.find_first_not_of(" \t");
    const int start = first == std::string_view::npos ? 0 : CLspColumns::Utf16Units(text.substr(0, first));
    return {{line, start}, {line, CLspColumns::Utf16Units(text)}};
}
