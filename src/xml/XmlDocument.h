#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "xml/XmlNode.h"
#include "xml/XmlTree.h"

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

    // The two ways of reading: handing the parser pieces and building the tree as it goes, many
    // times faster, or letting the parser pull the text into libxml2's own tree, which names best
    // where a broken file breaks and alone expands the entities a document type declares. Both
    // give the same tree.
    enum class Reading { InPieces, Pulled };

    // False, with ErrorMessage and ErrorLine, when the file cannot be read or does not load. The
    // file is read to its end, a piece at a time. It is read in pieces, and once more pulled when
    // it does not load, for the reason.
    bool Load(const std::string& path);
    // The same from the file's bytes; url is the file's path, against which references resolve.
    bool Parse(const std::string& bytes, const std::string& url);
    // Only the one way, for comparing them.
    bool Load(const std::string& path, Reading reading);
    bool Parse(const std::string& bytes, const std::string& url, Reading reading);

    std::optional<CXmlNode> Root() const;

    // Why the last Load or Parse failed, and the line it names (0 when none).
    const std::string& ErrorMessage() const { return errorMessage_; }
    long ErrorLine() const { return errorLine_; }

private:
    // Parse what read hands over, up to its size argument at a time (the count of bytes, 0 at the
    // end, below 0 once reading failed), under the safety settings, and keep the document when it
    // loaded.
    bool ParseInPieces(const std::string& url, int options, const std::function<int(char*, int)>& read);
    bool ParsePulled(const std::string& url, int options, const std::function<int(char*, int)>& read);
    bool FailToRead(const std::string& path, const std::string& errorText);
    bool Fail(std::string message, long line);

    std::unique_ptr<CXmlTree> tree_;
    std::string errorMessage_;
    long errorLine_ = 0;
};
