#pragma once

#include <string>

#include "xml/XmlTree.h"

struct _xmlParserCtxt;

// Builds a CXmlTree from the events of libxml2's parser, in place of libxml2's own tree, as that
// tree would hold them: every CDATA section a node of its own, text that is whitespace only
// dropped, nodes before and after the root element left out, and each node's line where it starts.
// It leaves to libxml2's tree what only that tree does right: a document type declaration, whose
// entities libxml2 expands into its own nodes, stops it.
class CXmlTreeBuilder {
public:
    explicit CXmlTreeBuilder(CXmlTree& tree) : tree_(tree) {}
    CXmlTreeBuilder(const CXmlTreeBuilder&) = delete;
    CXmlTreeBuilder& operator=(const CXmlTreeBuilder&) = delete;

    // Puts the builder's handlers into the context, which must hand character data over before it
    // reads past it, as the parser that takes pieces does.
    void Attach(_xmlParserCtxt* context);
    // Adds the character data read last; once the parse is over.
    void Finish();
    // Whether the builder stopped the parser: at a document type declaration, or at a text longer
    // than libxml2 takes.
    bool Stopped() const { return stopped_; }

private:
    static CXmlTreeBuilder& Of(void* context);
    static void StartElement(void* context, const unsigned char* localName, const unsigned char* prefix,
                             const unsigned char* uri, int namespaceCount, const unsigned char** namespaces,
                             int attributeCount, int defaultedCount, const unsigned char** attributes);
    static void EndElement(void* context, const unsigned char* localName, const unsigned char* prefix,
                           const unsigned char* uri);
    static void Characters(void* context, const unsigned char* text, int length);
    static void CDataBlock(void* context, const unsigned char* text, int length);
    static void Comment(void* context, const unsigned char* content);
    static void ProcessingInstruction(void* context, const unsigned char* target, const unsigned char* data);
    static void DocumentType(void* context, const unsigned char* name, const unsigned char* externalId,
                             const unsigned char* systemId);
    static void Reference(void* context, const unsigned char* name);

    // Character data coming in pieces; the node is added once it is whole.
    void Append(CXmlTree::Kind kind, const unsigned char* text, int length, long line);
    void AddPending();
    void Stop();

    CXmlTree& tree_;
    _xmlParserCtxt* context_ = nullptr;
    // The element whose content is being read; none outside the root element.
    CXmlTree::Index open_ = CXmlTree::kNone;
    bool stopped_ = false;

    // The character data being read: its kind, its text so far and its first line. A CDATA
    // section may come in several pieces; where the last one ended in the document's text says
    // whether the next goes on.
    bool pending_ = false;
    CXmlTree::Kind pendingKind_ = CXmlTree::Kind::Text;
    std::string pendingText_;
    long pendingLine_ = 0;
    unsigned long long pendingEnd_ = 0;
    // A name and prefix joined, kept to spare an allocation for each.
    std::string name_;
};
