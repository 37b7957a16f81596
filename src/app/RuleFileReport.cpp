#include "app/RuleFileReport.h"

#include "common/MessageText.h"

namespace {

constexpr std::string_view kReportAtLine = "ITEM_00001:ITEM_00002: ITEM_00003: ITEM_00004";
constexpr std::string_view kReport = "ITEM_00001: ITEM_00002: ITEM_00003";
constexpr std::string_view kLogNote = "log file ITEM_00001";
constexpr std::string_view kReplacements =
    "ITEM_00001 characters have no place in code page ITEM_00002 and were written as '?'";

}  // namespace

std::string CRuleFileReport::Error(const std::string& rulePath, long line, std::string_view reason)
{
    return Line(rulePath, line, "error", reason);
}

std::string CRuleFileReport::Warning(const std::string& rulePath, long line, std::string_view text)
{
    return Line(rulePath, line, "warning", text);
}

std::string CRuleFileReport::LogNote(const std::string& rulePath, const std::string& logPath)
{
    if (logPath.empty())
        return "";
    return Line(rulePath, 0, "note", MessageText(kLogNote, {logPath}));
}

std::string CRuleFileReport::Replacements(const std::string& rulePath, size_t count, const std::string& codePage)
{
    return Line(rulePath, 0, "warning", MessageText(kReplacements, {std::to_string(count), codePage}));
}

std::string CRuleFileReport::Line(const std::string& rulePath, long line, std::string_view kind,
                                  std::string_view text)
{
    if (line > 0)
        return MessageText(kReportAtLine, {rulePath, std::to_string(line), kind, text});
    return MessageText(kReport, {rulePath, kind, text});
}
