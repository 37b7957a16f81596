#include "xml/XmlDocument.h"

#include <algorithm>
#include <climits>
#include <string_view>
#include <utility>
#include <vector>

#include <libxml/parser.h>
#include <libxml/parserInternals.h>
#include <libxml/tree.h>
#include <libxml/xmlerror.h>

#include "common/MessageText.h"
#include "platform/FileSystem.h"
#include "xml/XmlCodePages.h"
#include "xml/XmlFileSource.h"
#include "xml/XmlTreeBuilder.h"

namespace {

constexpr std::string_view kCannotRead = "cannot read {path}: {reason}";
constexpr std::string_view kRefusedEntity = "failed to load external entity \"{entity}\"";
constexpr std::string_view kTooLarge = "the rule file is too large";
constexpr std::string_view kNotLoaded = "the rule file does not load";
constexpr std::string_view kNoParser = "no XML parser could be created";

// Entity substitution also switches on the loading of external entities; the entity loader below
// refuses every one of them. No option may ever load a DTD, validate, include or lift the limits.
constexpr int kParseOptions = XML_PARSE_NOENT | XML_PARSE_NONET | XML_PARSE_BIG_LINES;

// The bytes handed to the parser at a time.
constexpr int kPieceSize = 1 << 16;

// A byte-order mark outranks the encoding that the declaration names: the bytes are what it says
// whatever the declaration says, and taking them for another encoding would garble them.
int OptionsFor(bool startsWithByteOrderMark)
{
    return startsWithByteOrderMark ? kParseOptions | XML_PARSE_IGNORE_ENC : kParseOptions;
}

// A refused entity leaves no error behind and the document loads without its text, so the
// refusal itself fails the load. Every parser context of a parse, those made for entities too,
// carries the builder.
xmlParserInput* RefuseEntity(const char* url, const char* id, xmlParserCtxt* context)
{
    if (context && context->_private) {
        static_cast<CXmlTreeBuilder*>(context->_private)
            ->Fail(MessageText(kRefusedEntity, {{"entity", std::string_view(url ? url : (id ? id : ""))}}));
    }
    return nullptr;
}

void IgnoreGenericError(void*, const char*, ...) {}

// Puts the entity loader and the error handlers in place for one parse, restoring the previous
// process-wide ones afterwards: libxml2 reports some errors, and loads entities, outside any
// parser context's handlers.
class ParseScope {
public:
    explicit ParseScope(CXmlTreeBuilder& builder)
        : previousLoader_(xmlGetExternalEntityLoader()),
          previousStructured_(xmlStructuredError),
          previousStructuredContext_(xmlStructuredErrorContext),
          previousGeneric_(xmlGenericError),
          previousGenericContext_(xmlGenericErrorContext)
    {
        xmlInitParser();
        CXmlCodePages::Register();
        xmlSetExternalEntityLoader(RefuseEntity);
        xmlSetStructuredErrorFunc(&builder, CXmlTreeBuilder::ErrorOutsideParser);
        // What would still reach standard error.
        xmlSetGenericErrorFunc(nullptr, IgnoreGenericError);
    }
    ~ParseScope()
    {
        xmlSetGenericErrorFunc(previousGenericContext_, previousGeneric_);
        xmlSetStructuredErrorFunc(previousStructuredContext_, previousStructured_);
        xmlSetExternalEntityLoader(previousLoader_);
    }
    ParseScope(const ParseScope&) = delete;
    ParseScope& operator=(const ParseScope&) = delete;

private:
    xmlExternalEntityLoader previousLoader_;
    xmlStructuredErrorFunc previousStructured_;
    void* previousStructuredContext_;
    xmlGenericErrorFunc previousGeneric_;
    void* previousGenericContext_;
};

struct ContextFreer {
    void operator()(xmlParserCtxt* context) const { xmlFreeParserCtxt(context); }
};

struct DocumentFreer {
    void operator()(xmlDoc* document) const { xmlFreeDoc(document); }
};

int ReadPiece(void* read, char* buffer, int size)
{
    return (*static_cast<const std::function<int(char*, int)>*>(read))(buffer, size);
}

}  // namespace

CXmlDocument::CXmlDocument() = default;

CXmlDocument::~CXmlDocument() = default;

std::string CXmlDocument::UrlOf(const std::string& path)
{
    if (CFileSystem::PathSeparators().find('\\') == std::string_view::npos)
        return path;
    std::string url;
    for (char c : path) {
        if (c == '\\')
            url += '/';
        else if (c == ' ')
            url += "%20";
        else if (c == '%')
            url += "%25";
        else
            url += c;
    }
    const bool drive = url.size() >= 2 && url[1] == ':';
    return drive ? "file:///" + url : url;
}

bool CXmlDocument::Load(const std::string& path)
{
    tree_.reset();
    // Read here rather than by libxml2, which would ask the entity loader for the file itself.
    CXmlFileSource source;
    if (!source.Open(path))
        return source.TooLarge() ? Fail(std::string(kTooLarge), 0) : FailToRead(path, source.ErrorText());
    // The document's URL, against which libxml2 resolves the names the document holds, so that a
    // refused entity is reported by its full name.
    const std::string url = UrlOf(path);
    const int options = OptionsFor(source.StartsWithByteOrderMark());
    const Parsed parsed =
        ParseInPieces(url, options, [&](char* buffer, int size) { return source.Read(buffer, size); });
    // A read error or an oversized file outranks whatever the parser made of the bytes before it.
    source.ReadToEnd();
    if (source.TooLarge() || source.ReadFailed()) {
        tree_.reset();
        return source.TooLarge() ? Fail(std::string(kTooLarge), 0) : FailToRead(path, source.ErrorText());
    }
    if (parsed == Parsed::Broken) {
        CXmlFileSource again;
        if (again.Open(path))
            TakeReasonOfPulled(url, options, [&](char* buffer, int size) { return again.Read(buffer, size); });
    }
    return parsed == Parsed::Loaded;
}

bool CXmlDocument::Parse(const std::string& bytes, const std::string& url)
{
    tree_.reset();
    if (bytes.size() > INT_MAX)
        return Fail(std::string(kTooLarge), 0);
    const int options = OptionsFor(CXmlFileSource::StartsWithByteOrderMark(bytes));
    size_t handedOver = 0;
    const Reader read = [&](char* buffer, int size) {
        const size_t count = std::min(bytes.size() - handedOver, static_cast<size_t>(size));
        std::copy_n(bytes.data() + handedOver, count, buffer);
        handedOver += count;
        return static_cast<int>(count);
    };
    const Parsed parsed = ParseInPieces(url, options, read);
    if (parsed == Parsed::Broken) {
        handedOver = 0;
        TakeReasonOfPulled(url, options, read);
    }
    return parsed == Parsed::Loaded;
}

CXmlDocument::Parsed CXmlDocument::ParseInPieces(const std::string& url, int options, const Reader& read)
{
    errorMessage_.clear();
    errorLine_ = 0;
    errorColumn_ = 0;
    auto tree = std::make_unique<CXmlTree>();
    CXmlTreeBuilder builder(*tree);
    std::unique_ptr<xmlParserCtxt, ContextFreer> context;
    {
        ParseScope scope(builder);
        // The parser tells the encoding from the first four bytes, handed over as it is created.
        std::vector<char> piece(kPieceSize);
        int count = 0;
        for (int got = 1; count < 4 && got > 0; count += got)
            got = std::max(read(piece.data() + count, 4 - count), 0);
        context.reset(xmlCreatePushParserCtxt(nullptr, nullptr, piece.data(), count, url.c_str()));
        if (!context) {
            Fail(std::string(kNoParser), 0);
            return Parsed::Failed;
        }
        xmlCtxtUseOptions(context.get(), options);
        builder.Attach(context.get());
        bool more = count > 0;
        while (more && !builder.Failed() && context->instate != XML_PARSER_EOF) {
            count = read(piece.data(), kPieceSize);
            more = count > 0;
            if (more)
                xmlParseChunk(context.get(), piece.data(), count, 0);
        }
        if (!builder.Failed() && context->instate != XML_PARSER_EOF)
            xmlParseChunk(context.get(), nullptr, 0, 1);
        builder.Finish();
    }
    // The document libxml2 began holds the document type declaration alone.
    std::unique_ptr<xmlDoc, DocumentFreer> unused(std::exchange(context->myDoc, nullptr));
    if (builder.Failed() || !context->wellFormed || tree->Root() == CXmlTree::kNone) {
        Fail(builder);
        return !builder.Failed() || builder.FailedInParser() ? Parsed::Broken : Parsed::Failed;
    }
    tree_ = std::move(tree);
    return Parsed::Loaded;
}

// The parser that pulls its input says best where a broken file breaks ("Premature end of data in
// tag Rule line 7", where the parser handed pieces says "Extra content at the end of the
// document"). Its tree is not kept: the document failed already.
void CXmlDocument::TakeReasonOfPulled(const std::string& url, int options, const Reader& read)
{
    CXmlTree unused;
    CXmlTreeBuilder builder(unused);
    std::unique_ptr<xmlParserCtxt, ContextFreer> context(xmlNewParserCtxt());
    if (!context)
        return;
    {
        ParseScope scope(builder);
        builder.Attach(context.get());
        std::unique_ptr<xmlDoc, DocumentFreer> document(xmlCtxtReadIO(
            context.get(), ReadPiece, nullptr, const_cast<Reader*>(&read), url.c_str(), nullptr, options));
    }
    if (builder.Failed())
        Fail(builder);
}

std::optional<CXmlNode> CXmlDocument::Root() const
{
    if (!tree_ || tree_->Root() == CXmlTree::kNone)
        return std::nullopt;
    return CXmlNode(*tree_, tree_->Root());
}

bool CXmlDocument::FailToRead(const std::string& path, const std::string& errorText)
{
    return Fail(MessageText(kCannotRead, {{"path", path}, {"reason", errorText}}), 0);
}

bool CXmlDocument::Fail(std::string message, long line, int column)
{
    errorMessage_ = std::move(message);
    errorLine_ = line;
    errorColumn_ = column;
    return false;
}

bool CXmlDocument::Fail(const CXmlTreeBuilder& builder)
{
    return Fail(builder.Failed() ? builder.ErrorMessage() : std::string(kNotLoaded), builder.ErrorLine(),
                builder.ErrorColumn());
}
