#include "vbproject/VBItem.h"

#include <utility>

#include "common/MessageText.h"
#include "platform/FileSink.h"

namespace {

constexpr std::string_view kCannotWrite = "cannot write {path}: {reason}";
constexpr std::string_view kCannotReplace = "cannot replace {path}: {reason}";
constexpr std::string_view kNotOpen = "file not open";

}  // namespace

CVBItem::CVBItem(std::string name, CTextEncoder* encoder) : name_(std::move(name))
{
    file_.SetEncoder(encoder);
}

CVBItem::~CVBItem()
{
    file_.Close();
}

bool CVBItem::WriteText(std::string_view text)
{
    if (!file_.IsOpen())
        return Fail(MessageText(kCannotWrite, {{"path", path_.empty() ? name_ : path_}, {"reason", kNotOpen}}));
    if (!file_.Write(text))
        return Fail(MessageText(kCannotWrite, {{"path", path_}, {"reason", file_.ErrorText()}}));
    return true;
}

bool CVBItem::Finish()
{
    if (!file_.IsOpen())
        return Fail(MessageText(kCannotWrite, {{"path", path_.empty() ? name_ : path_}, {"reason", kNotOpen}}));
    // A file with a failed write lacks text: it never takes the earlier file's place.
    if (!errorText_.empty()) {
        file_.Close();
        return false;
    }
    if (!file_.Finish())
        return Fail(MessageText(kCannotWrite, {{"path", path_}, {"reason", file_.ErrorText()}}));
    return true;
}

bool CVBItem::TakePlace()
{
    if (!file_.Replace())
        return Fail(MessageText(kCannotReplace, {{"path", path_.empty() ? name_ : path_}, {"reason", file_.ErrorText()}}));
    return true;
}

bool CVBItem::Complete()
{
    return Finish() && TakePlace();
}

std::string CVBItem::GetName() const
{
    return name_;
}

bool CVBItem::OpenWithHeader(const std::string& path, std::string_view header)
{
    path_ = path;
    if (std::string problem = CFileSink::ReplaceProblem(path); !problem.empty())
        return Fail(MessageText(kCannotReplace, {{"path", path}, {"reason", problem}}));
    if (!file_.OpenReplacing(path))
        return Fail(MessageText(kCannotWrite, {{"path", path}, {"reason", file_.ErrorText()}}));
    // Flushed at once, so that a full disk is reported by Create, not by the first WriteText.
    return WriteText(header);
}

bool CVBItem::Fail(const std::string& text)
{
    if (errorText_.empty())
        errorText_ = text;
    return false;
}
