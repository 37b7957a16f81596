#include "app/RuleFileReport.h"

#include "common/MessageText.h"

namespace {

constexpr std::string_view kReportAtLine = "{path}:{line}: {kind}: {text}";
constexpr std::string_view kReport = "{path}: {kind}: {text}";
constexpr std::string_view kLogNote = "log file {log}";
constexpr std::string_view kIncompleteLogNote = "log file {log} is incomplete: {reason}";
constexpr std::string_view kNoLogNote = "no log file was written: {reason}";
constexpr std::string_view kReplacements =
    "{count} characters have no place in code page {codePage} and were written as '?'";

}  // namespace

std::string CRuleFileReport::Error(const std::string& rulePath, long line, std::string_view reason)
{
    return Line(rulePath, line, "error", reason);
}

std::string CRuleFileReport::Warning(const std::string& rulePath, long line, std::string_view text)
{
    return Line(rulePath, line, "warning", text);
}

std::string CRuleFileReport::LogNote(const std::string& rulePath, const std::string& logPath,
                                     const std::string& logProblem)
{
    if (logPath.empty())
        return logProblem.empty() ? "" : Line(rulePath, 0, "note", MessageText(kNoLogNote, {{"reason", logProblem}}));
    if (!logProblem.empty())
        return Line(rulePath, 0, "note", MessageText(kIncompleteLogNote, {{"log", logPath}, {"reason", logProblem}}));
    return Line(rulePath, 0, "note", MessageText(kLogNote, {{"log", logPath}}));
}

std::string CRuleFileReport::Replacements(const std::string& rulePath, size_t count, const std::string& codePage)
{
    return Line(rulePath, 0, "warning", MessageText(kReplacements, {{"count", std::to_string(count)}, {"codePage", codePage}}));
}

std::string CRuleFileReport::Line(const std::string& rulePath, long line, std::string_view kind,
                                  std::string_view text)
{
    if (line > 0)
        return MessageText(kReportAtLine,
                           {{"path", rulePath}, {"line", std::to_string(line)}, {"kind", kind}, {"text", text}});
    return MessageText(kReport, {{"path", rulePath}, {"kind", kind}, {"text", text}});
}
