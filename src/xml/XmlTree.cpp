#include "xml/XmlTree.h"

#include <algorithm>
#include <cstring>

namespace {

// Texts are kept in blocks of this size; a longer text gets a block of its own.
constexpr size_t kBlockSize = size_t{1} << 20;

}  // namespace

CXmlTree::Index CXmlTree::Add(Kind kind, Index parent, std::string_view content, long line)
{
    const auto index = static_cast<Index>(nodes_.size());
    Node& node = nodes_.emplace_back();
    node.kind = kind;
    node.content = Keep(content);
    node.line = line;
    node.parent = parent;
    if (parent != kNone) {
        Node& above = nodes_[parent];
        if (above.lastChild == kNone)
            above.firstChild = index;
        else
            nodes_[above.lastChild].next = index;
        above.lastChild = index;
    }
    return index;
}

void CXmlTree::AddAttribute(std::string_view name, std::string_view value)
{
    const auto index = static_cast<Index>(attributes_.size());
    attributes_.push_back({Keep(name), Keep(value), kNone});
    // The element's attributes are added together, right after it: its last one so far is the
    // one added before.
    Index& first = nodes_.back().firstAttribute;
    if (first == kNone)
        first = index;
    else
        attributes_[index - 1].next = index;
}

std::string_view CXmlTree::Keep(std::string_view text)
{
    if (text.empty())
        return {};
    if (text.size() > blockLeft_) {
        const size_t size = std::max(kBlockSize, text.size());
        blocks_.push_back(std::make_unique_for_overwrite<char[]>(size));
        blockFree_ = blocks_.back().get();
        blockLeft_ = size;
    }
    char* const kept = blockFree_;
    std::memcpy(kept, text.data(), text.size());
    blockFree_ += text.size();
    blockLeft_ -= text.size();
    return {kept, text.size()};
}
