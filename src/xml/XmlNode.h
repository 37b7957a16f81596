#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "xml/XmlTree.h"

class CXmlChildren;

// One node of a loaded rule file: an element, text, a CDATA section, a comment or a processing
// instruction. It only points into the document's tree, which must outlive it.
class CXmlNode {
public:
    CXmlNode(const CXmlTree& tree, CXmlTree::Index index) : tree_(&tree), index_(index) {}

    bool IsElement() const;
    // An element's qualified name as written ("prefix:local" where it has a prefix). Other nodes
    // get a name that begins with "#", so that they never equal an element name looked for.
    std::string Name() const;
    // Text and CDATA give their character data, a comment its content, a processing instruction
    // its data; an element gives the character data of all text and CDATA below it in document
    // order, comments and processing instructions left out. Nothing is trimmed.
    std::string Text() const;
    // Line of the rule file where the node starts.
    long Line() const { return Node().line; }
    // What the node is, for messages: "an element", "text", "a comment", ...
    std::string_view KindWord() const;

    // The child nodes in document order.
    CXmlChildren Children() const;
    std::optional<CXmlNode> FirstChild() const;
    // The value of the attribute of exactly that qualified name; false when the node has none.
    bool GetAttribute(std::string_view attributeName, std::string& value) const;

private:
    const CXmlTree::Node& Node() const { return tree_->At(index_); }
    void AppendCharacterData(std::string& text) const;

    const CXmlTree* tree_;
    CXmlTree::Index index_;
};

// The child nodes of one node, walked without collecting them first: a rule file has hundreds of
// thousands of elements.
class CXmlChildren {
public:
    class Iterator {
    public:
        Iterator(const CXmlTree& tree, CXmlTree::Index index) : tree_(&tree), index_(index), node_(tree, index) {}
        const CXmlNode& operator*() const { return node_; }
        Iterator& operator++();
        bool operator!=(const Iterator& other) const { return index_ != other.index_; }

    private:
        const CXmlTree* tree_;
        CXmlTree::Index index_;
        CXmlNode node_;
    };

    CXmlChildren(const CXmlTree& tree, CXmlTree::Index first) : tree_(&tree), first_(first) {}
    Iterator begin() const { return Iterator(*tree_, first_); }
    Iterator end() const { return Iterator(*tree_, CXmlTree::kNone); }

private:
    const CXmlTree* tree_;
    CXmlTree::Index first_;
};
