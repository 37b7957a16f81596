#pragma once

#include <array>
#include <string>
#include <string_view>
#include <unordered_set>
#include <vector>

#include "vbcheck/VBFindings.h"
#include "vbcheck/VBToken.h"

enum class VBBlockKind : unsigned char { If, For, Do, While, Select, With, Sub, Function, Property, Type, Enum };

// The blocks open at the current statement, innermost last, and the labels of the open
// procedure. A closer that matches a block further down closes the blocks in between, each told
// once at the line that opened it.
class CVBBlocks {
public:
    explicit CVBBlocks(CVBFindings& findings) : findings_(findings) {}

    // opener: the token the block is told at when it is left open, a view into the piece's text.
    void Open(VBBlockKind kind, int piece, const VBToken& opener, std::string_view variable = {});
    bool InProcedure() const { return procedure_ != kNone; }
    VBBlockKind ProcedureKind() const { return blocks_[procedure_].kind; }
    // The innermost block, when one is open outside procedures (Type, Enum).
    bool InModuleBlock(VBBlockKind kind) const
    {
        return !blocks_.empty() && blocks_.back().kind == kind && procedure_ == kNone;
    }
    void CloseModuleBlock();
    // Closes the blocks above the innermost one of kind within the procedure and leaves that one
    // innermost; false when there is none.
    bool Reach(VBBlockKind kind);
    // Reach, then closes that block too.
    bool Close(VBBlockKind kind);
    // The For variable of the innermost For, when there is one.
    const std::string* InnermostForVariable() const;
    // Closes the open procedure with all that is open in it, and checks its jump targets;
    // leftOpen when no End closed it.
    void CloseProcedure(bool leftOpen);
    // End of the module: everything still open is told.
    void CloseAll();

    void AddLabel(std::string_view label);
    void AddTarget(const VBToken& label, int piece);

private:
    struct Block {
        VBBlockKind kind;
        int piece;
        int line;
        VBPlace place;
        std::string variable;
    };
    struct Target {
        std::string label;
        int piece;
        int line;
        VBPlace place;
    };
    static constexpr size_t kNone = static_cast<size_t>(-1);
    static constexpr size_t kKinds = 11;

    void Pop(bool leftOpen);
    size_t Innermost(VBBlockKind kind) const;

    CVBFindings& findings_;
    std::vector<Block> blocks_;
    // For each kind, where its open blocks stand in blocks_: finding the innermost one costs
    // nothing however deep the nesting.
    std::array<std::vector<size_t>, kKinds> byKind_;
    size_t procedure_ = kNone;
    std::unordered_set<std::string> labels_;
    std::vector<Target> targets_;
};

// The key a label is compared by: its name in lower case, a line number without leading zeros.
std::string LabelKey(std::string_view label);
