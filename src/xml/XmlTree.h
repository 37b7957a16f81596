#pragma once

#include <cstdint>
#include <memory>
#include <string_view>
#include <vector>

// The nodes below the root element of a loaded rule file, held compactly: a few large blocks
// rather than an allocation for every node, name and text, so that a rule file of a hundred
// thousand items loads in a fraction of the time and memory a general tree takes, and goes at once.
// Nodes are added in document order, each as the last child of its parent, and never change.
class CXmlTree {
public:
    using Index = std::uint32_t;
    static constexpr Index kNone = UINT32_MAX;

    enum class Kind : unsigned char { Element, Text, CData, Comment, ProcessingInstruction };

    struct Node {
        // An element's qualified name as written; the character data of text and CDATA, a
        // comment's content, a processing instruction's data.
        std::string_view content;
        long line = 0;
        Index parent = kNone;
        Index firstChild = kNone;
        Index lastChild = kNone;
        Index next = kNone;
        Index firstAttribute = kNone;
        Kind kind = Kind::Element;
    };

    struct Attribute {
        std::string_view name;
        std::string_view value;
        Index next = kNone;
    };

    CXmlTree() = default;
    CXmlTree(const CXmlTree&) = delete;
    CXmlTree& operator=(const CXmlTree&) = delete;

    // Adds a node as the last child of parent (kNone: the root element), with its own copy of
    // content.
    Index Add(Kind kind, Index parent, std::string_view content, long line);
    // Adds an attribute to the node added last, an element, after its others, with its own copies
    // of name and value.
    void AddAttribute(std::string_view name, std::string_view value);

    const Node& At(Index index) const { return nodes_[index]; }
    const Attribute& AttributeAt(Index index) const { return attributes_[index]; }
    // The root element; kNone while there is none.
    Index Root() const { return nodes_.empty() ? kNone : 0; }

    // Text of blanks and line ends alone, which the tree leaves out (CDATA sections stay).
    static bool IsWhitespaceOnly(std::string_view text)
    {
        return text.find_first_not_of(" \t\r\n") == std::string_view::npos;
    }

private:
    std::string_view Keep(std::string_view text);

    std::vector<Node> nodes_;
    std::vector<Attribute> attributes_;
    // Where Keep puts texts: blocks that are never moved, so that the views into them hold.
    std::vector<std::unique_ptr<char[]>> blocks_;
    size_t blockLeft_ = 0;
    char* blockFree_ = nullptr;
};
