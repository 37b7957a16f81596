#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

struct _xmlNode;

// One node of a loaded rule file: an element, text, a CDATA section, a comment or a processing
// instruction. It only points into the document, which must outlive it.
class CXmlNode {
public:
    explicit CXmlNode(_xmlNode* node) : node_(node) {}

    bool IsElement() const;
    // An element's qualified name as written ("prefix:local" where it has a prefix). Other nodes
    // get a name that begins with "#", so that they never equal an element name looked for.
    std::string Name() const;
    // Text and CDATA give their character data, a comment its content, a processing instruction
    // its data; an element gives the character data of all text and CDATA below it in document
    // order, comments and processing instructions left out. Nothing is trimmed.
    std::string Text() const;
    // Line of the rule file where the node starts; for text and comments, where they end, which is
    // all the parser keeps of them.
    long Line() const;
    // What the node is, for messages: "an element", "text", "a comment", ...
    std::string_view KindWord() const;

    std::vector<CXmlNode> Children() const;
    std::optional<CXmlNode> FirstChild() const;
    // The value of the attribute of exactly that qualified name; false when the node has none.
    bool GetAttribute(std::string_view attributeName, std::string& value) const;

    // Takes the node out of its document and frees it with everything below it. Neither it nor
    // any node found below it may be used afterwards.
    void Remove() const;

private:
    _xmlNode* node_;
};
