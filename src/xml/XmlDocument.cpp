#include "xml/XmlDocument.h"

#include <algorithm>
#include <climits>
#include <cstdint>
#include <string_view>
#include <utility>
#include <vector>

#include <libxml/SAX2.h>
#include <libxml/parser.h>
#include <libxml/parserInternals.h>
#include <libxml/tree.h>
#include <libxml/xmlerror.h>

#include "common/MessageText.h"
#include "xml/XmlCodePages.h"
#include "xml/XmlFileSource.h"
#include "xml/XmlTreeBuilder.h"
#include "platform/FileSystem.h"

namespace {

constexpr std::string_view kCannotRead = "cannot read ITEM_00001: ITEM_00002";
constexpr std::string_view kRefusedEntity = "failed to load external entity \"ITEM_00001\"";
constexpr std::string_view kUnresolvedEntity = "entity 'ITEM_00001' is not resolved";
constexpr std::string_view kTooLarge = "the rule file is too large";
constexpr std::string_view kNotLoaded = "the rule file does not load";
constexpr std::string_view kNoParser = "no XML parser could be created";

// Entity substitution also switches on the loading of external entities; the entity loader below
// refuses every one of them. No option may ever load a DTD, validate, include or lift the limits.
constexpr int kParseOptions = XML_PARSE_NOENT | XML_PARSE_NONET | XML_PARSE_BIG_LINES;

// The bytes handed to the parser at a time.
constexpr int kPieceSize = 1 << 16;

// A UTF-8 byte-order mark outranks the encoding that the declaration names: the bytes are UTF-8
// whatever it says, and taking them for another encoding would garble every other character.
int OptionsFor(bool startsWithUtf8Mark)
{
    return startsWithUtf8Mark ? kParseOptions | XML_PARSE_IGNORE_ENC : kParseOptions;
}

// What the parser reported during one parse.
struct ParseReport {
    xmlParserCtxt* context = nullptr;
    bool failed = false;
    bool refused = false;
    std::string message;
    long line = 0;
};

// The parse in progress. The parser's callbacks reach it only through here: they are process-wide
// in libxml2, and the program parses one document at a time on one thread.
ParseReport* currentReport = nullptr;

// The parser's message as one line: a reason is one line of the batch's report. Some messages
// put their details on a line of their own ("...encoding !\nBytes: 0xE9").
std::string OneLine(const char* message)
{
    std::string text = message ? message : "";
    while (!text.empty() && (text.back() == '\n' || text.back() == '\r'))
        text.pop_back();
    for (char& c : text) {
        if (c == '\n' || c == '\r')
            c = ' ';
    }
    return text;
}

void RecordError(void*, xmlError* error)
{
    // Warnings neither fail a load nor hide its reason. The first error is the fault to fix; the
    // parser goes on and reports what follows from it ("Premature end of data").
    if (!currentReport || !error || error->level < XML_ERR_ERROR || currentReport->failed)
        return;
    currentReport->failed = true;
    currentReport->message = OneLine(error->message);
    currentReport->line = error->line;
}

void IgnoreGenericError(void*, const char*, ...) {}

// A refused entity leaves no error behind and the document loads without its text, so the
// refusal itself fails the load.
xmlParserInput* RefuseEntity(const char* url, const char* id, xmlParserCtxt*)
{
    if (currentReport && !currentReport->refused) {
        currentReport->refused = true;
        currentReport->failed = true;
        currentReport->message = MessageText(kRefusedEntity, {url ? url : (id ? id : "")});
        xmlParserCtxt* context = currentReport->context;
        currentReport->line = context && context->input ? context->input->line : 0;
    }
    return nullptr;
}

// libxml2's own tree caps a node's line at 65535, and gives a CDATA section none; keep the
// parser's line in the node's application field, where the copy into the document's tree finds it.
void StartElementKeepingLine(void* ctx, const xmlChar* localName, const xmlChar* prefix, const xmlChar* uri,
                             int namespaceCount, const xmlChar** namespaces, int attributeCount,
                             int defaultedCount, const xmlChar** attributes)
{
    xmlSAX2StartElementNs(ctx, localName, prefix, uri, namespaceCount, namespaces, attributeCount,
                          defaultedCount, attributes);
    auto* context = static_cast<xmlParserCtxt*>(ctx);
    if (context->node && context->input)
        context->node->_private = reinterpret_cast<void*>(static_cast<intptr_t>(context->input->line));
}

// Character data and comments reach the tree when their end has been read, so that the parser's
// line is then their last one; counting back over their line feeds gives the line where they
// start. Only a node that the data starts is given the line: data appended to the node before
// keeps that node's.
void KeepStartLine(xmlParserCtxt* context, const xmlNode* lastBefore, const xmlChar* data, int length)
{
    xmlNode* parent = context->node;
    if (!parent || !parent->last || parent->last == lastBefore || !context->input)
        return;
    long line = context->input->line;
    for (int i = 0; i < length; ++i)
        line -= data[i] == '\n';
    if (line > 0)
        parent->last->_private = reinterpret_cast<void*>(static_cast<intptr_t>(line));
}

const xmlNode* LastChild(const xmlParserCtxt* context)
{
    return context->node ? context->node->last : nullptr;
}

void CharactersKeepingLine(void* ctx, const xmlChar* data, int length)
{
    auto* context = static_cast<xmlParserCtxt*>(ctx);
    const xmlNode* lastBefore = LastChild(context);
    xmlSAX2Characters(ctx, data, length);
    KeepStartLine(context, lastBefore, data, length);
}

// libxml2's tree builder appends a CDATA section to a CDATA section that directly precedes it;
// the reading rules count child nodes, so every section stays a node of its own. The parser that
// pulls its input hands each section over whole, in one call.
void CDataSectionOfItsOwn(void* ctx, const xmlChar* value, int length)
{
    auto* context = static_cast<xmlParserCtxt*>(ctx);
    if (!context->node)
        return;
    const xmlNode* lastBefore = LastChild(context);
    xmlNode* section = xmlNewCDataBlock(context->myDoc, value, length);
    if (!section) {
        if (currentReport)
            currentReport->failed = true;
        xmlStopParser(context);
        return;
    }
    xmlAddChild(context->node, section);
    KeepStartLine(context, lastBefore, value, length);
}

void CommentKeepingLine(void* ctx, const xmlChar* content)
{
    auto* context = static_cast<xmlParserCtxt*>(ctx);
    const xmlNode* lastBefore = LastChild(context);
    xmlSAX2Comment(ctx, content);
    KeepStartLine(context, lastBefore, content, xmlStrlen(content));
}

// Puts the entity loader and the error handlers in place for one parse, restoring the previous
// process-wide ones afterwards.
class ParseScope {
public:
    explicit ParseScope(ParseReport& report)
        : previousLoader_(xmlGetExternalEntityLoader()),
          previousStructured_(xmlStructuredError),
          previousStructuredContext_(xmlStructuredErrorContext),
          previousGeneric_(xmlGenericError),
          previousGenericContext_(xmlGenericErrorContext)
    {
        currentReport = &report;
        xmlSetExternalEntityLoader(RefuseEntity);
        // Errors raised without a parser context would otherwise go to stderr.
        xmlSetStructuredErrorFunc(nullptr, RecordError);
        xmlSetGenericErrorFunc(nullptr, IgnoreGenericError);
        report.context->sax->serror = RecordError;
    }
    ~ParseScope()
    {
        xmlSetGenericErrorFunc(previousGenericContext_, previousGeneric_);
        xmlSetStructuredErrorFunc(previousStructuredContext_, previousStructured_);
        xmlSetExternalEntityLoader(previousLoader_);
        currentReport = nullptr;
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

// Has libxml2's own tree keep the lines of the nodes.
void KeepLines(xmlParserCtxt* context)
{
    context->sax->startElementNs = StartElementKeepingLine;
    // Both, as libxml2's tree builder: the parser tells blanks apart only when the two differ.
    context->sax->characters = CharactersKeepingLine;
    context->sax->ignorableWhitespace = CharactersKeepingLine;
    context->sax->cdataBlock = CDataSectionOfItsOwn;
    context->sax->comment = CommentKeepingLine;
}

struct ContextFreer {
    void operator()(xmlParserCtxt* context) const { xmlFreeParserCtxt(context); }
};

struct DocumentFreer {
    void operator()(xmlDoc* document) const { xmlFreeDoc(document); }
};

// The first entity reference below node that was left unresolved, if any.
const xmlNode* FirstUnresolvedEntity(const xmlNode* node)
{
    for (const xmlNode* child = node->children; child; child = child->next) {
        if (child->type == XML_ENTITY_REF_NODE)
            return child;
        if (child->type == XML_ELEMENT_NODE) {
            if (const xmlNode* below = FirstUnresolvedEntity(child))
                return below;
        }
    }
    return nullptr;
}

std::string_view AsView(const xmlChar* text)
{
    return text ? std::string_view(reinterpret_cast<const char*>(text)) : std::string_view();
}

std::string QualifiedName(const xmlNs* ns, const xmlChar* localName)
{
    if (ns && ns->prefix)
        return std::string(AsView(ns->prefix)) + ":" + std::string(AsView(localName));
    return std::string(AsView(localName));
}

long LineOf(const xmlNode* node)
{
    if (node->_private)
        return static_cast<long>(reinterpret_cast<intptr_t>(node->_private));
    return xmlGetLineNo(node);
}

std::string AttributeValue(const xmlAttr* attribute)
{
    // With entities substituted, a value is one text node: read it in place.
    const xmlNode* text = attribute->children;
    if (!text || (text->type == XML_TEXT_NODE && !text->next))
        return std::string(AsView(text ? text->content : nullptr));
    xmlChar* content = xmlNodeGetContent(reinterpret_cast<const xmlNode*>(attribute));
    std::string value(AsView(content));
    xmlFree(content);
    return value;
}

// Copies element, with its attributes and everything below it, into tree below parent.
void CopyElement(const xmlNode* element, CXmlTree& tree, CXmlTree::Index parent)
{
    const CXmlTree::Index index =
        tree.Add(CXmlTree::Kind::Element, parent, QualifiedName(element->ns, element->name), LineOf(element));
    for (const xmlAttr* attribute = element->properties; attribute; attribute = attribute->next)
        tree.AddAttribute(QualifiedName(attribute->ns, attribute->name), AttributeValue(attribute));
    for (const xmlNode* child = element->children; child; child = child->next) {
        switch (child->type) {
        case XML_ELEMENT_NODE: CopyElement(child, tree, index); break;
        case XML_TEXT_NODE:
            if (!CXmlTree::IsWhitespaceOnly(AsView(child->content)))
                tree.Add(CXmlTree::Kind::Text, index, AsView(child->content), LineOf(child));
            break;
        case XML_CDATA_SECTION_NODE: tree.Add(CXmlTree::Kind::CData, index, AsView(child->content), LineOf(child)); break;
        case XML_COMMENT_NODE: tree.Add(CXmlTree::Kind::Comment, index, AsView(child->content), LineOf(child)); break;
        case XML_PI_NODE:
            tree.Add(CXmlTree::Kind::ProcessingInstruction, index, AsView(child->content), LineOf(child));
            break;
        default: break;
        }
    }
}

int ReadPiece(void* read, char* buffer, int size)
{
    return (*static_cast<const std::function<int(char*, int)>*>(read))(buffer, size);
}

}  // namespace

CXmlDocument::CXmlDocument() = default;

CXmlDocument::~CXmlDocument() = default;

bool CXmlDocument::Load(const std::string& path)
{
    // Handing the parser pieces and building the tree as it goes is many times faster; the parser
    // that pulls its input says best where a broken file breaks ("Premature end of data in tag
    // Rule line 7", where the other says "Extra content at the end of the document"), and only
    // libxml2's own tree expands the entities that a document type declares. A file that does not
    // load in pieces is read again that way.
    return Load(path, Reading::InPieces) || Load(path, Reading::Pulled);
}

bool CXmlDocument::Load(const std::string& path, Reading reading)
{
    tree_.reset();
    // Read here rather than by libxml2, which would ask the entity loader for the file itself.
    CXmlFileSource source;
    if (!source.Open(path))
        return FailToRead(path, source.ErrorText());
    // The document's URL, against which libxml2 resolves the names the document holds, so that a
    // refused entity is reported by its full name.
    const std::string url = CFileSystem::PathAsUrl(path);
    const auto read = [&](char* buffer, int size) { return source.Read(buffer, size); };
    const int options = OptionsFor(source.StartsWithUtf8Mark());
    const bool loaded = reading == Reading::InPieces ? ParseInPieces(url, options, read)
                                                     : ParsePulled(url, options, read);
    // A read error or an oversized file outranks whatever the parser made of the bytes before it.
    source.ReadToEnd();
    if (!source.TooLarge() && !source.ReadFailed())
        return loaded;
    tree_.reset();
    if (source.TooLarge())
        return Fail(std::string(kTooLarge), 0);
    return FailToRead(path, source.ErrorText());
}

bool CXmlDocument::Parse(const std::string& bytes, const std::string& url)
{
    return Parse(bytes, url, Reading::InPieces) || Parse(bytes, url, Reading::Pulled);
}

bool CXmlDocument::Parse(const std::string& bytes, const std::string& url, Reading reading)
{
    tree_.reset();
    if (bytes.size() > INT_MAX)
        return Fail(std::string(kTooLarge), 0);
    const int options = OptionsFor(bytes.starts_with(CXmlFileSource::kUtf8Mark));
    size_t handedOver = 0;
    const auto read = [&](char* buffer, int size) {
        const size_t count = std::min(bytes.size() - handedOver, static_cast<size_t>(size));
        std::copy_n(bytes.data() + handedOver, count, buffer);
        handedOver += count;
        return static_cast<int>(count);
    };
    return reading == Reading::InPieces ? ParseInPieces(url, options, read)
                                        : ParsePulled(url, options, read);
}

bool CXmlDocument::ParseInPieces(const std::string& url, int options,
                                 const std::function<int(char*, int)>& read)
{
    errorMessage_.clear();
    errorLine_ = 0;
    xmlInitParser();
    CXmlCodePages::Register();
    // The parser tells the encoding from the first four bytes, handed over as it is created.
    std::vector<char> piece(kPieceSize);
    int count = 0;
    for (int got = 1; count < 4 && got > 0; count += got)
        got = std::max(read(piece.data() + count, 4 - count), 0);
    std::unique_ptr<xmlParserCtxt, ContextFreer> context(
        xmlCreatePushParserCtxt(nullptr, nullptr, piece.data(), count, url.c_str()));
    if (!context)
        return Fail(std::string(kNoParser), 0);
    xmlCtxtUseOptions(context.get(), options);
    auto tree = std::make_unique<CXmlTree>();
    CXmlTreeBuilder builder(*tree);
    ParseReport report;
    report.context = context.get();
    {
        ParseScope scope(report);
        builder.Attach(context.get());
        bool more = count > 0;
        while (more && !report.failed && context->instate != XML_PARSER_EOF) {
            count = read(piece.data(), kPieceSize);
            more = count > 0;
            if (more)
                xmlParseChunk(context.get(), piece.data(), count, 0);
        }
        if (!report.failed && context->instate != XML_PARSER_EOF)
            xmlParseChunk(context.get(), nullptr, 0, 1);
        builder.Finish();
    }
    // The document libxml2 began holds nothing of the builder's.
    std::unique_ptr<xmlDoc, DocumentFreer> unused(std::exchange(context->myDoc, nullptr));
    if (report.failed || builder.Stopped() || !context->wellFormed || tree->Root() == CXmlTree::kNone)
        return Fail(report.message.empty() ? std::string(kNotLoaded) : report.message, report.line);
    tree_ = std::move(tree);
    return true;
}

bool CXmlDocument::ParsePulled(const std::string& url, int options, const std::function<int(char*, int)>& read)
{
    errorMessage_.clear();
    errorLine_ = 0;
    xmlInitParser();
    CXmlCodePages::Register();
    CXmlCodePages::Register();
    std::unique_ptr<xmlParserCtxt, ContextFreer> context(xmlNewParserCtxt());
    if (!context)
        return Fail(std::string(kNoParser), 0);
    ParseReport report;
    report.context = context.get();
    std::unique_ptr<xmlDoc, DocumentFreer> document;
    {
        ParseScope scope(report);
        KeepLines(context.get());
        document.reset(xmlCtxtReadIO(context.get(), ReadPiece, nullptr,
                                     const_cast<std::function<int(char*, int)>*>(&read), url.c_str(),
                                     nullptr, options));
    }
    if (!document || report.failed || !context->wellFormed)
        return Fail(report.message.empty() ? std::string(kNotLoaded) : report.message, report.line);
    xmlNode* root = xmlDocGetRootElement(document.get());
    if (!root)
        return Fail(std::string(kNotLoaded), 0);
    if (const xmlNode* unresolved = FirstUnresolvedEntity(root))
        return Fail(MessageText(kUnresolvedEntity, {reinterpret_cast<const char*>(unresolved->name)}),
                    xmlGetLineNo(unresolved));
    tree_ = std::make_unique<CXmlTree>();
    CopyElement(root, *tree_, CXmlTree::kNone);
    return true;
}

std::optional<CXmlNode> CXmlDocument::Root() const
{
    if (!tree_ || tree_->Root() == CXmlTree::kNone)
        return std::nullopt;
    return CXmlNode(*tree_, tree_->Root());
}

bool CXmlDocument::FailToRead(const std::string& path, const std::string& errorText)
{
    return Fail(MessageText(kCannotRead, {path, errorText}), 0);
}

bool CXmlDocument::Fail(std::string message, long line)
{
    errorMessage_ = std::move(message);
    errorLine_ = line;
    return false;
}
