#pragma once

#include <string>

#include "xml/XmlTree.h"

struct _xmlParserCtxt;
struct _xmlError;

// Builds a CXmlTree from the events of libxml2's parser, as libxml2's own tree would hold them:
// every CDATA section a node of its own, text that is whitespace only dropped, nodes before and
// after the root element left out, attributes a document type declaration defaults left out, and
// each node's line where it starts. The parser expands the entities a document type declaration
// declares and hands their content over as if it stood at the reference. The first error of the
// parse, the parser's or the builder's own, stops it and is kept as the reason.
class CXmlTreeBuilder {
public:
    explicit CXmlTreeBuilder(CXmlTree& tree) : tree_(tree) {}
    CXmlTreeBuilder(const CXmlTreeBuilder&) = delete;
    CXmlTreeBuilder& operator=(const CXmlTreeBuilder&) = delete;

    // Puts the builder's handlers into the context, keeping libxml2's own for the document type
    // declaration and its entities.
    void Attach(_xmlParserCtxt* context);
    // Adds the character data read last; once the parse is over.
    void Finish();

    // Fails the parse for a reason of the program's (an entity refused), with the parser's line.
    // The first reason stays.
    void Fail(std::string message);
    // Records an error that libxml2 reports outside any parser's handlers, for the builder given
    // as context (an encoding that the parser cannot read, found as the parser is created).
    static void ErrorOutsideParser(void* builder, _xmlError* error);

    bool Failed() const { return failed_; }
    // Whether the parser found the fault, rather than the builder (a text over the parser's limit,
    // an entity left unresolved) or the program.
    bool FailedInParser() const { return failedInParser_; }
    const std::string& ErrorMessage() const { return errorMessage_; }
    // The line the error names; 0 when none.
    long ErrorLine() const { return errorLine_; }
    // The parser's column on that line, 1 for the first character; 0 when not known.
    int ErrorColumn() const { return errorColumn_; }

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
    static void Reference(void* context, const unsigned char* name);
    static void Error(void* context, _xmlError* error);

    // Whether the parser reads the content of an entity rather than the document's own text.
    bool InEntity(void* context) const { return context != context_; }
    // The parser's line in the document.
    long Line() const;
    // Character data coming in pieces; the node is added once it is whole.
    void Append(CXmlTree::Kind kind, const unsigned char* text, int length, long line);
    void AddPending();
    void Record(const _xmlError* error);
    void Fail(std::string message, long line, bool inParser, int column = 0);

    CXmlTree& tree_;
    _xmlParserCtxt* context_ = nullptr;
    // The element whose content is being read; none outside the root element.
    CXmlTree::Index open_ = CXmlTree::kNone;

    bool failed_ = false;
    bool failedInParser_ = false;
    std::string errorMessage_;
    long errorLine_ = 0;
    int errorColumn_ = 0;

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
