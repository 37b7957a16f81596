#pragma once

#include <array>
#include <string>
#include <string_view>
#include <unordered_set>
#include <vector>

#include "vbcheck/VBFindings.h"
#include "vbcheck/VBToken.h"

enum class VBBlockKind : unsigned char { If, For, Do, While, Select, With, Sub, Function, Property, Type, Enum };

// What a module is, where it is known: some errors belong to one kind only.
enum class VBModuleKind : unsigned char { Unknown, Standard, Object };

// The blocks open at the current statement, innermost last, and the labels of the open
// procedure. A closer that matches a block further down closes the blocks in between, each told
// once at the line that opened it.
class CVBBlocks {
public:
    explicit CVBBlocks(CVBFindings& findings) : findings_(findings) {}

    // opener: the token the block is told at when it is left open, a view into the piece's text.
    void Open(VBBlockKind kind, int piece, const VBToken& opener, std::string_view variable = {});
    bool InProcedure() const { return procedure_ != kNone; }
    void SetModuleKind(VBModuleKind kind) { moduleKind_ = kind; }
    VBModuleKind ModuleKind() const { return moduleKind_; }
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
    // Closes the innermost block of the procedure untold, when one is open in it and word may be a
    // misspelling of its closing word (End Iff, End Selct): words that end no VB6 block, as VB.NET's
    // End Try, close nothing.
    void CloseInnermost(std::string_view word);
    // Closes the innermost block of kind, and the blocks still open inside it, untold. VB6 matches a
    // closer with the innermost block only: false when that is not one of kind, so that the closer
    // is told (Next without For, where an If inside the For lost its End If).
    bool Close(VBBlockKind kind);
    // Whether a block of kind is open in the procedure.
    bool Inside(VBBlockKind kind) const { return Innermost(kind) != kNone; }
    // Whether a procedure was opened before: the declarations section is over.
    bool ProcedureSeen() const { return procedureSeen_; }
    // The mark of the innermost block, one that Open or Reach gave: an If's Else, a Select's Case
    // Else, the condition at a Do's head. Each may stand once.
    bool Marked() const { return blocks_.back().marked; }
    void Mark() { blocks_.back().marked = true; }
    // Whether the innermost block is a Select that has no Case yet; TakeCase gives it one.
    bool AwaitsCase() const
    {
        return procedure_ != kNone && blocks_.size() > procedure_ + 1 && blocks_.back().kind == VBBlockKind::Select &&
               !blocks_.back().caseSeen;
    }
    void TakeCase() { blocks_.back().caseSeen = true; }
    // Whether the innermost block of the procedure is one of kind.
    bool InnermostIs(VBBlockKind kind) const
    {
        return procedure_ != kNone && blocks_.size() > procedure_ + 1 && blocks_.back().kind == kind;
    }
    // Whether an open For of the procedure counts with variable (as LabelKey gives it). When one
    // does, the finding at reuse is told when that For is closed: left open, it is told as such
    // alone, its Next being the fault.
    bool ForVariableInUse(std::string_view variable, int piece, const VBToken& reuse);
    // The For variable of the innermost For, when there is one.
    const std::string* InnermostForVariable() const;
    // Closes the open procedure with all that is open in it, and checks its jump targets;
    // leftOpen when no End closed it.
    void CloseProcedure(bool leftOpen);
    // The piece's text goes: the places of the blocks still open are counted now.
    void EndPiece();
    // End of the module: everything still open is told.
    void CloseAll();

    void AddLabel(std::string_view label);
    void AddTarget(const VBToken& label, int piece);

private:
    struct Block {
        VBBlockKind kind;
        int piece;
        // Where it is told: counted only when it is, while its piece's text is there.
        VBTextAt opener;
        VBPlace place;
        std::string variable;
        bool marked = false;
        bool caseSeen = false;
    };
    // A For inside the open For at block that counts with its variable: told when that one closes.
    struct Reuse {
        size_t block;
        int piece;
        int line;
        VBPlace place;
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
    bool procedureSeen_ = false;
    VBModuleKind moduleKind_ = VBModuleKind::Unknown;
    std::unordered_set<std::string> labels_;
    std::vector<Target> targets_;
    std::vector<Reuse> reuses_;
};

// The key a label is compared by: its name in lower case, a line number without leading zeros.
std::string LabelKey(std::string_view label);
