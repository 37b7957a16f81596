#include "vbcheck/VBBlocks.h"

#include "common/FoldCase.h"
#include "vbcheck/VBCheckMessages.h"

namespace {

std::string_view LeftOpenMessage(VBBlockKind kind)
{
    switch (kind) {
    case VBBlockKind::If: return kBlockIfWithoutEndIf;
    case VBBlockKind::For: return kForWithoutNext;
    case VBBlockKind::Do: return kDoWithoutLoop;
    case VBBlockKind::While: return kWhileWithoutWend;
    case VBBlockKind::Select: return kSelectWithoutEndSelect;
    case VBBlockKind::With: return kExpectedEndWith;
    case VBBlockKind::Sub: return kExpectedEndSub;
    case VBBlockKind::Function: return kExpectedEndFunction;
    case VBBlockKind::Property: return kExpectedEndProperty;
    // VB6's texts for these are not ours to guess.
    case VBBlockKind::Type:
    case VBBlockKind::Enum: return {};
    }
    return {};
}

bool IsProcedure(VBBlockKind kind)
{
    return kind == VBBlockKind::Sub || kind == VBBlockKind::Function || kind == VBBlockKind::Property;
}

}  // namespace

std::string LabelKey(std::string_view label)
{
    if (!label.empty() && label.front() >= '0' && label.front() <= '9') {
        const size_t digits = label.find_first_not_of('0');
        return digits == std::string_view::npos ? std::string("0") : std::string(label.substr(digits));
    }
    return FoldCase(label);
}

void CVBBlocks::Open(VBBlockKind kind, int piece, const VBToken& opener, std::string_view variable)
{
    if (IsProcedure(kind)) {
        procedure_ = blocks_.size();
        procedureSeen_ = true;
        labels_.clear();
        targets_.clear();
    }
    byKind_[static_cast<size_t>(kind)].push_back(blocks_.size());
    blocks_.push_back({kind, piece, {opener.text, opener.line}, {}, LabelKey(variable)});
}

void CVBBlocks::Pop(bool leftOpen)
{
    const Block& block = blocks_.back();
    if (leftOpen)
        findings_.Add(block.piece, block.opener.line, LeftOpenMessage(block.kind),
                      block.opener.text.empty() ? block.place : findings_.PlaceOf(block.opener.text));
    for (auto reuse = reuses_.begin(); reuse != reuses_.end(); ++reuse) {
        if (reuse->block == blocks_.size() - 1) {
            if (!leftOpen)
                findings_.Add(reuse->piece, reuse->line, kForVariableInUse, reuse->place);
            reuses_.erase(reuse);
            break;
        }
    }
    byKind_[static_cast<size_t>(block.kind)].pop_back();
    if (blocks_.size() - 1 == procedure_)
        procedure_ = kNone;
    blocks_.pop_back();
}

size_t CVBBlocks::Innermost(VBBlockKind kind) const
{
    const std::vector<size_t>& open = byKind_[static_cast<size_t>(kind)];
    if (open.empty() || procedure_ == kNone || open.back() < procedure_)
        return kNone;
    return open.back();
}

void CVBBlocks::CloseModuleBlock()
{
    Pop(false);
}

bool CVBBlocks::Reach(VBBlockKind kind)
{
    const size_t index = Innermost(kind);
    if (index == kNone)
        return false;
    while (blocks_.size() > index + 1)
        Pop(true);
    return true;
}

void CVBBlocks::CloseInnermost(std::string_view word)
{
    if (procedure_ == kNone || blocks_.size() <= procedure_ + 1 || word.empty())
        return;
    char closing = 0;
    switch (blocks_.back().kind) {
    case VBBlockKind::If: closing = 'i'; break;
    case VBBlockKind::Select: closing = 's'; break;
    case VBBlockKind::With:
    case VBBlockKind::While: closing = 'w'; break;
    default: return;
    }
    if ((word.front() | 0x20) == closing)
        Pop(false);
}

bool CVBBlocks::Close(VBBlockKind kind)
{
    const size_t index = Innermost(kind);
    if (index == kNone)
        return false;
    const bool innermost = index + 1 == blocks_.size();
    while (blocks_.size() > index)
        Pop(false);
    return innermost;
}

bool CVBBlocks::ForVariableInUse(std::string_view variable, int piece, const VBToken& reuse)
{
    for (size_t index : byKind_[static_cast<size_t>(VBBlockKind::For)]) {
        if (procedure_ != kNone && index > procedure_ && blocks_[index].variable == variable) {
            for (const Reuse& told : reuses_) {
                if (told.block == index)
                    return true;
            }
            reuses_.push_back({index, piece, reuse.line, findings_.PlaceOf(reuse.text)});
            return true;
        }
    }
    return false;
}

const std::string* CVBBlocks::InnermostForVariable() const
{
    const size_t index = Innermost(VBBlockKind::For);
    return index == kNone ? nullptr : &blocks_[index].variable;
}

void CVBBlocks::CloseProcedure(bool leftOpen)
{
    if (procedure_ == kNone)
        return;
    while (blocks_.size() > procedure_ + 1)
        Pop(true);
    Pop(leftOpen);
    for (const Target& target : targets_) {
        if (labels_.count(target.label) == 0)
            findings_.Add(target.piece, target.line, kLabelNotDefined, target.place);
    }
    targets_.clear();
    labels_.clear();
}

void CVBBlocks::EndPiece()
{
    for (Block& block : blocks_) {
        if (!block.opener.text.empty())
            block.place = findings_.PlaceOf(block.opener.text);
        block.opener.text = {};
    }
}

void CVBBlocks::CloseAll()
{
    CloseProcedure(true);
    while (!blocks_.empty())
        Pop(true);
}

void CVBBlocks::AddLabel(std::string_view label)
{
    labels_.insert(LabelKey(label));
}

void CVBBlocks::AddTarget(const VBToken& label, int piece)
{
    if (procedure_ != kNone)
        targets_.push_back({LabelKey(label.text), piece, label.line, findings_.PlaceOf(label.text)});
}
