#include "kbfile/XmlNode.h"

#include <cstdint>

#include <libxml/tree.h>

namespace {

std::string_view AsView(const xmlChar* text)
{
    return text ? std::string_view(reinterpret_cast<const char*>(text)) : std::string_view();
}

std::string AsText(const xmlChar* text)
{
    return std::string(AsView(text));
}

std::string QualifiedName(const xmlNs* ns, const xmlChar* localName)
{
    if (ns && ns->prefix)
        return AsText(ns->prefix) + ":" + AsText(localName);
    return AsText(localName);
}

// The same as QualifiedName(ns, localName) == wanted, without building the name: every attribute
// of every item is compared.
bool HasQualifiedName(const xmlNs* ns, const xmlChar* localName, std::string_view wanted)
{
    const std::string_view local = AsView(localName);
    if (!ns || !ns->prefix)
        return wanted == local;
    const std::string_view prefix = AsView(ns->prefix);
    return wanted.size() == prefix.size() + 1 + local.size() && wanted.starts_with(prefix) &&
           wanted[prefix.size()] == ':' && wanted.ends_with(local);
}

void AppendCharacterData(const xmlNode* node, std::string& text)
{
    for (const xmlNode* child = node->children; child; child = child->next) {
        if (child->type == XML_TEXT_NODE || child->type == XML_CDATA_SECTION_NODE)
            text += AsView(child->content);
        else if (child->type == XML_ELEMENT_NODE)
            AppendCharacterData(child, text);
    }
}

}  // namespace

bool CXmlNode::IsElement() const
{
    return node_->type == XML_ELEMENT_NODE;
}

std::string CXmlNode::Name() const
{
    switch (node_->type) {
    case XML_ELEMENT_NODE:
        return QualifiedName(node_->ns, node_->name);
    case XML_TEXT_NODE:
        return "#text";
    case XML_CDATA_SECTION_NODE:
        return "#cdata-section";
    case XML_COMMENT_NODE:
        return "#comment";
    case XML_PI_NODE:
        return "#processing-instruction";
    default:
        return "#other";
    }
}

std::string CXmlNode::Text() const
{
    if (node_->type != XML_ELEMENT_NODE)
        return AsText(node_->content);
    std::string text;
    AppendCharacterData(node_, text);
    return text;
}

long CXmlNode::Line() const
{
    if (node_->_private)
        return static_cast<long>(reinterpret_cast<intptr_t>(node_->_private));
    return xmlGetLineNo(node_);
}

std::string_view CXmlNode::KindWord() const
{
    switch (node_->type) {
    case XML_ELEMENT_NODE:
        return "an element";
    case XML_TEXT_NODE:
        return "text";
    case XML_CDATA_SECTION_NODE:
        return "a CDATA section";
    case XML_COMMENT_NODE:
        return "a comment";
    case XML_PI_NODE:
        return "a processing instruction";
    default:
        return "an unexpected node";
    }
}

std::vector<CXmlNode> CXmlNode::Children() const
{
    std::vector<CXmlNode> children;
    for (xmlNode* child = node_->children; child; child = child->next)
        children.emplace_back(child);
    return children;
}

std::optional<CXmlNode> CXmlNode::FirstChild() const
{
    if (!node_->children)
        return std::nullopt;
    return CXmlNode(node_->children);
}

bool CXmlNode::GetAttribute(std::string_view attributeName, std::string& value) const
{
    if (node_->type != XML_ELEMENT_NODE)
        return false;
    for (xmlAttr* attribute = node_->properties; attribute; attribute = attribute->next) {
        if (!HasQualifiedName(attribute->ns, attribute->name, attributeName))
            continue;
        // With entities substituted, a value is one text node: read it in place.
        const xmlNode* text = attribute->children;
        if (!text || (text->type == XML_TEXT_NODE && !text->next)) {
            value = AsText(text ? text->content : nullptr);
            return true;
        }
        xmlChar* content = xmlNodeGetContent(reinterpret_cast<xmlNode*>(attribute));
        value = AsText(content);
        xmlFree(content);
        return true;
    }
    return false;
}

void CXmlNode::Remove() const
{
    xmlUnlinkNode(node_);
    xmlFreeNode(node_);
}
