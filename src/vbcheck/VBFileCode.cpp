#include "vbcheck/VBFileCode.h"

#include "common/FoldCase.h"

namespace {

std::string_view Trimmed(std::string_view line)
{
    const size_t start = line.find_first_not_of(" \t");
    if (start == std::string_view::npos)
        return {};
    const size_t end = line.find_last_not_of(" \t\r");
    return line.substr(start, end - start + 1);
}

bool StartsWithWord(std::string_view line, std::string_view word)
{
    return line.size() >= word.size() && EqualIgnoringCase(line.substr(0, word.size()), word) &&
           (line.size() == word.size() || line[word.size()] == ' ' || line[word.size()] == '\t');
}

}  // namespace

CVBFileCode::CVBFileCode(std::string_view file) : file_(file)
{
    int designerDepth = 0;
    bool headerSeen = false;
    size_t pos = 0;
    while (pos < file_.size()) {
        size_t end = file_.find_first_of("\r\n", pos);
        if (end == std::string_view::npos)
            end = file_.size();
        const std::string_view line = Trimmed(file_.substr(pos, end - pos));
        bool header = false;
        if (designerDepth > 0) {
            header = true;
            if (StartsWithWord(line, "Begin") || StartsWithWord(line, "BeginProperty"))
                ++designerDepth;
            else if (EqualIgnoringCase(line, "End") || StartsWithWord(line, "EndProperty"))
                --designerDepth;
        } else if (!headerSeen && StartsWithWord(line, "VERSION")) {
            header = true;
        } else if (StartsWithWord(line, "Begin")) {
            header = true;
            designerDepth = 1;
        } else if (StartsWithWord(line, "Object") && line.find('=') != std::string_view::npos) {
            header = true;
        } else if (StartsWithWord(line, "Attribute")) {
            header = true;
        }
        if (!header)
            break;
        headerSeen = true;
        if (end < file_.size() && file_[end] == '\r' && end + 1 < file_.size() && file_[end + 1] == '\n')
            ++end;
        pos = end < file_.size() ? end + 1 : end;
        codeStart_ = pos;
        ++linesBefore_;
    }
}
