#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "kbfile/XmlNode.h"

struct _xmlDoc;
struct _xmlParserCtxt;

// A rule file loaded whole into a tree, with character and entity references resolved, line ends
// and attribute values normalised, CDATA sections (each one a node, also side by side), comments
// and processing instructions kept as nodes, and whitespace-only text dropped everywhere. Nothing
// is ever loaded from outside the file: a document that needs an external DTD part or entity does
// not load.
class CXmlDocument {
public:
    CXmlDocument();
    ~CXmlDocument();
    CXmlDocument(const CXmlDocument&) = delete;
    CXmlDocument& operator=(const CXmlDocument&) = delete;

    // False, with ErrorMessage and ErrorLine, when the file cannot be read or does not load. The
    // file is read to its end, a piece at a time as the parser needs it.
    bool Load(const std::string& path);
    // The same from the file's bytes; url is the file's path, against which references resolve.
    bool Parse(const std::string& bytes, const std::string& url);

    std::optional<CXmlNode> Root() const;

    // Why the last Load or Parse failed, and the line it names (0 when none).
    const std::string& ErrorMessage() const { return errorMessage_; }
    long ErrorLine() const { return errorLine_; }

private:
    // Runs read, which parses with the context it is given, under the safety settings, and keeps
    // the document it returns when it loaded.
    bool ParseWith(const std::function<_xmlDoc*(_xmlParserCtxt*)>& read);
    bool FailToRead(const std::string& path, const std::string& errorText);
    bool Fail(std::string message, long line);

    struct DocumentFreer {
        void operator()(_xmlDoc* document) const;
    };
    std::unique_ptr<_xmlDoc, DocumentFreer> document_;
    std::string errorMessage_;
    long errorLine_ = 0;
};
