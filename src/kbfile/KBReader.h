#pragma once

#include <string>
#include <vector>

// Something in a rule file that converts but would be lost or keep the project from compiling:
// the rule file's line (0 when not known) and what is wrong. A VB compile error also says where on
// its line, in characters of that line of the VB text (1 for the first; 0 when not known): on the
// text's first line counted from where the text starts, which need not be the line's start.
struct CKBWarning {
    long line = 0;
    std::string text;
    int column = 0;
    int length = 0;
};

// The three steps by which a conversion reads a rule file and has its project written. The real
// reader is CKBItemsConvertor; the driver's tests put readers of their own in its place.
class CKBReader {
public:
    virtual ~CKBReader() = default;
    virtual bool LoadModule(std::string rulePath, std::string targetFolder) = 0;
    virtual bool ReadItems() = 0;
    virtual bool BuildProject() = 0;
    // In place of BuildProject: finds what building would, writing nothing.
    virtual bool CheckProject() { return true; }

    // The module's name, which names the project, once LoadModule has read it; empty before.
    virtual std::string ModuleName() const { return {}; }
    // Why the last step failed, and the rule file's line where that is known (0 otherwise).
    virtual std::string FailureReason() const { return {}; }
    virtual long FailureLine() const { return 0; }
    // What the steps run so far noticed, in the order of the rule file's lines.
    virtual std::vector<CKBWarning> Warnings() const { return {}; }
};
