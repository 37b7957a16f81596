#include "xml/XmlNode.h"

bool CXmlNode::IsElement() const
{
    return Node().kind == CXmlTree::Kind::Element;
}

std::string CXmlNode::Name() const
{
    switch (Node().kind) {
    case CXmlTree::Kind::Element:
        return std::string(Node().content);
    case CXmlTree::Kind::Text:
        return "#text";
    case CXmlTree::Kind::CData:
        return "#cdata-section";
    case CXmlTree::Kind::Comment:
        return "#comment";
    case CXmlTree::Kind::ProcessingInstruction:
        return "#processing-instruction";
    }
    return "#other";
}

std::string CXmlNode::Text() const
{
    if (!IsElement())
        return std::string(Node().content);
    std::string text;
    AppendCharacterData(text);
    return text;
}

void CXmlNode::AppendCharacterData(std::string& text) const
{
    for (const CXmlNode& child : Children()) {
        const CXmlTree::Kind kind = child.Node().kind;
        if (kind == CXmlTree::Kind::Text || kind == CXmlTree::Kind::CData)
            text += child.Node().content;
        else if (kind == CXmlTree::Kind::Element)
            child.AppendCharacterData(text);
    }
}

std::string_view CXmlNode::KindWord() const
{
    switch (Node().kind) {
    case CXmlTree::Kind::Element:
        return "an element";
    case CXmlTree::Kind::Text:
        return "text";
    case CXmlTree::Kind::CData:
        return "a CDATA section";
    case CXmlTree::Kind::Comment:
        return "a comment";
    case CXmlTree::Kind::ProcessingInstruction:
        return "a processing instruction";
    }
    return "an unexpected node";
}

CXmlChildren CXmlNode::Children() const
{
    return CXmlChildren(*tree_, Node().firstChild);
}

std::optional<CXmlNode> CXmlNode::FirstChild() const
{
    if (Node().firstChild == CXmlTree::kNone)
        return std::nullopt;
    return CXmlNode(*tree_, Node().firstChild);
}

bool CXmlNode::GetAttribute(std::string_view attributeName, std::string& value) const
{
    for (CXmlTree::Index i = Node().firstAttribute; i != CXmlTree::kNone; i = tree_->AttributeAt(i).next) {
        const CXmlTree::Attribute& attribute = tree_->AttributeAt(i);
        if (attribute.name == attributeName) {
            value = attribute.value;
            return true;
        }
    }
    return false;
}

CXmlChildren::Iterator& CXmlChildren::Iterator::operator++()
{
    index_ = tree_->At(index_).next;
    node_ = CXmlNode(*tree_, index_);
    return *this;
}
