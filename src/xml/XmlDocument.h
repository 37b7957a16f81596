#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "xml/XmlNode.h"
#include "xml/XmlTree.h"

class CXmlTreeBuilder;

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
    // file is read to its end, a piece at a time.
    bool Load(const std::string& path);
    // The same from the file's bytes; url is the file's path, against which references resolve.
    bool Parse(const std::string& bytes, const std::string& url);

    std::optional<CXmlNode> Root() const;

    // The URL that libxml2 resolves a document's names against, and that its messages show: a
    // Unix path as it stands; where a backslash separates folders too, C:\My Rules\a.pxkbx
    // becomes file:///C:/My%20Rules/a.pxkbx.
    static std::string UrlOf(const std::string& path);

    // Why the last Load or Parse failed, and the line it names (0 when none).
    const std::string& ErrorMessage() const { return errorMessage_; }
    long ErrorLine() const { return errorLine_; }
    // The column on that line where the parser stopped, 1 for the first character; 0 when not known.
    int ErrorColumn() const { return errorColumn_; }

private:
    // What hands the parser the document's bytes: up to its size argument at a time, giving the
    // count of bytes, 0 at the end, below 0 once reading failed.
    using Reader = std::function<int(char*, int)>;
    // How a parse in pieces ended: with the tree, or failed, for a reason that the parser that
    // pulls its input may say better (Broken) or not.
    enum class Parsed { Loaded, Failed, Broken };

    // Builds the tree from what read hands over, under the safety settings, and keeps it when the
    // document loaded.
    Parsed ParseInPieces(const std::string& url, int options, const Reader& read);
    // Takes the reason a document that failed in pieces gives the parser that pulls its input.
    void TakeReasonOfPulled(const std::string& url, int options, const Reader& read);
    bool FailToRead(const std::string& path, const std::string& errorText);
    bool Fail(std::string message, long line, int column = 0);
    bool Fail(const CXmlTreeBuilder& builder);

    std::unique_ptr<CXmlTree> tree_;
    std::string errorMessage_;
    long errorLine_ = 0;
    int errorColumn_ = 0;
};
