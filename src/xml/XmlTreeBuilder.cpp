#include "xml/XmlTreeBuilder.h"

#include <algorithm>
#include <cstring>
#include <string_view>
#include <utility>

#include <libxml/parser.h>
#include <libxml/parserInternals.h>
#include <libxml/xmlerror.h>

#include "common/MessageText.h"

namespace {

constexpr std::string_view kUnresolvedEntity = "entity '{entity}' is not resolved";
// libxml2's words where it checks its limit for one text itself.
constexpr std::string_view kCDataTooBig = "CData section too big found";
constexpr std::string_view kTextTooBig = "Text too big found";

std::string_view View(const xmlChar* text, size_t length)
{
    return {reinterpret_cast<const char*>(text), length};
}

std::string_view View(const xmlChar* text)
{
    return text ? std::string_view(reinterpret_cast<const char*>(text)) : std::string_view();
}

// The line where text, just read, started: the parser's line less the line feeds in it.
long StartLine(const xmlParserCtxt* context, std::string_view text)
{
    const long line = context->input->line - static_cast<long>(std::count(text.begin(), text.end(), '\n'));
    return line > 0 ? line : context->input->line;
}

// Makes every line end of text one line feed, as the parser makes them in all other text: it
// hands CDATA sections over as they stand in the file.
void OneLineFeedPerLineEnd(std::string& text)
{
    size_t to = text.find('\r');
    if (to == std::string::npos)
        return;
    for (size_t from = to; from < text.size(); ++from) {
        if (text[from] == '\r') {
            text[to++] = '\n';
            if (from + 1 < text.size() && text[from + 1] == '\n')
                ++from;
        } else {
            text[to++] = text[from];
        }
    }
    text.resize(to);
}

// Whether the parser hands text over from its input, rather than from a text of its own (an
// empty CDATA section).
bool IsInInput(const xmlParserCtxt* context, const xmlChar* text)
{
    return text >= context->input->base && text < context->input->end;
}

// Where text, handed over from the parser's input, stands in the document.
unsigned long long OffsetInDocument(const xmlParserCtxt* context, const xmlChar* text)
{
    return context->input->consumed + static_cast<unsigned long long>(text - context->input->base);
}

// The parser's message as one line: a reason is one line of the batch's report. Some messages
// put their details on a line of their own ("...encoding !\nBytes: 0xE9").
std::string OneLine(const char* message)
{
    std::string text = message ? message : "";
    while (!text.empty() && (text.back() == '\n' || text.back() == '\r'))
        text.pop_back();
    std::replace(text.begin(), text.end(), '\n', ' ');
    std::replace(text.begin(), text.end(), '\r', ' ');
    return text;
}

}  // namespace

void CXmlTreeBuilder::Attach(xmlParserCtxt* context)
{
    context_ = context;
    // The parser hands this on to the parsers it makes for the content of entities.
    context->_private = this;
    xmlSAXHandler* sax = context->sax;
    sax->startElementNs = StartElement;
    sax->endElementNs = EndElement;
    // Both, as libxml2's tree builder: the parser tells blanks apart only when the two differ.
    sax->characters = Characters;
    sax->ignorableWhitespace = Characters;
    sax->cdataBlock = CDataBlock;
    sax->comment = Comment;
    sax->processingInstruction = ProcessingInstruction;
    sax->reference = Reference;
    sax->serror = Error;
}

void CXmlTreeBuilder::Finish()
{
    AddPending();
}

void CXmlTreeBuilder::Fail(std::string message)
{
    Fail(std::move(message), Line(), false);
}

void CXmlTreeBuilder::ErrorOutsideParser(void* builder, xmlError* error)
{
    static_cast<CXmlTreeBuilder*>(builder)->Record(error);
}

CXmlTreeBuilder& CXmlTreeBuilder::Of(void* context)
{
    return *static_cast<CXmlTreeBuilder*>(static_cast<xmlParserCtxt*>(context)->_private);
}

long CXmlTreeBuilder::Line() const
{
    return context_ && context_->input ? context_->input->line : 0;
}

void CXmlTreeBuilder::StartElement(void* context, const xmlChar* localName, const xmlChar* prefix,
                                   const xmlChar*, int, const xmlChar**, int attributeCount, int defaultedCount,
                                   const xmlChar** attributes)
{
    CXmlTreeBuilder& builder = Of(context);
    builder.AddPending();
    const auto qualified = [&builder](const xmlChar* local, const xmlChar* withPrefix) {
        builder.name_.clear();
        if (withPrefix) {
            builder.name_ += View(withPrefix);
            builder.name_ += ':';
        }
        builder.name_ += View(local);
        return std::string_view(builder.name_);
    };
    builder.open_ = builder.tree_.Add(CXmlTree::Kind::Element, builder.open_, qualified(localName, prefix),
                                      builder.Line());
    // Five pointers each: local name, prefix, namespace, value and its end. The defaulted ones
    // come last.
    for (int i = 0; i < attributeCount - defaultedCount; ++i) {
        const xmlChar** attribute = attributes + 5 * i;
        builder.tree_.AddAttribute(qualified(attribute[0], attribute[1]),
                                   View(attribute[3], static_cast<size_t>(attribute[4] - attribute[3])));
    }
}

void CXmlTreeBuilder::EndElement(void* context, const xmlChar*, const xmlChar*, const xmlChar*)
{
    CXmlTreeBuilder& builder = Of(context);
    builder.AddPending();
    if (builder.open_ != CXmlTree::kNone)
        builder.open_ = builder.tree_.At(builder.open_).parent;
}

void CXmlTreeBuilder::Characters(void* context, const xmlChar* text, int length)
{
    CXmlTreeBuilder& builder = Of(context);
    if (builder.open_ == CXmlTree::kNone)
        return;
    // Text that goes on joins the text before it; text that starts was read up to its end, unless
    // an entity holds it: its reference was read.
    const bool goesOn = builder.pending_ && builder.pendingKind_ == CXmlTree::Kind::Text;
    long line = 0;
    if (!goesOn)
        line = builder.InEntity(context) ? builder.Line()
                                         : StartLine(builder.context_, View(text, static_cast<size_t>(length)));
    builder.Append(CXmlTree::Kind::Text, text, length, line);
}

void CXmlTreeBuilder::CDataBlock(void* context, const xmlChar* text, int length)
{
    CXmlTreeBuilder& builder = Of(context);
    if (builder.open_ == CXmlTree::kNone)
        return;
    // A piece that starts where the last one ended goes on the same section. The first piece of a
    // section comes before the parser reads on: its line is where the section starts.
    const bool inInput = !builder.InEntity(context) && IsInInput(builder.context_, text);
    const unsigned long long offset = inInput ? OffsetInDocument(builder.context_, text) : 0;
    const bool goesOn = inInput && builder.pending_ && builder.pendingKind_ == CXmlTree::Kind::CData &&
                        builder.pendingEnd_ == offset;
    if (!goesOn)
        builder.AddPending();
    builder.Append(CXmlTree::Kind::CData, text, length, builder.Line());
    // An empty section, handed over from elsewhere, is one of its own, as is a section of an entity.
    builder.pendingEnd_ = inInput ? offset + static_cast<unsigned long long>(length) : ~0ull;
}

void CXmlTreeBuilder::Comment(void* context, const xmlChar* content)
{
    CXmlTreeBuilder& builder = Of(context);
    if (builder.open_ == CXmlTree::kNone)
        return;
    builder.AddPending();
    const long line = builder.InEntity(context) ? builder.Line() : StartLine(builder.context_, View(content));
    builder.tree_.Add(CXmlTree::Kind::Comment, builder.open_, View(content), line);
}

void CXmlTreeBuilder::ProcessingInstruction(void* context, const xmlChar*, const xmlChar* data)
{
    CXmlTreeBuilder& builder = Of(context);
    if (builder.open_ == CXmlTree::kNone)
        return;
    builder.AddPending();
    builder.tree_.Add(CXmlTree::Kind::ProcessingInstruction, builder.open_, View(data), builder.Line());
}

// The parser hands over an entity's name instead of its content only when it could not read the
// entity.
void CXmlTreeBuilder::Reference(void* context, const xmlChar* name)
{
    CXmlTreeBuilder& builder = Of(context);
    builder.Fail(MessageText(kUnresolvedEntity, {{"entity", View(name)}}), builder.Line(), false);
    xmlStopParser(static_cast<xmlParserCtxt*>(context));
    xmlStopParser(builder.context_);
}

void CXmlTreeBuilder::Error(void* context, xmlError* error)
{
    Of(context).Record(error);
}

void CXmlTreeBuilder::Append(CXmlTree::Kind kind, const xmlChar* text, int length, long line)
{
    if (!pending_ || pendingKind_ != kind) {
        AddPending();
        pending_ = true;
        pendingKind_ = kind;
        pendingLine_ = line;
    }
    pendingText_.append(reinterpret_cast<const char*>(text), static_cast<size_t>(length));
    // libxml2's own limit for one text, which the parser does not check for every kind. Stopping
    // here also ends the text that references to a long entity would make without end.
    if (pendingText_.size() > XML_MAX_TEXT_LENGTH && !(context_->options & XML_PARSE_HUGE)) {
        Fail(std::string(kind == CXmlTree::Kind::CData ? kCDataTooBig : kTextTooBig), pendingLine_, false);
        xmlStopParser(context_);
    }
}

void CXmlTreeBuilder::AddPending()
{
    if (!pending_)
        return;
    pending_ = false;
    if (pendingKind_ == CXmlTree::Kind::CData)
        OneLineFeedPerLineEnd(pendingText_);
    if (pendingKind_ != CXmlTree::Kind::Text || !CXmlTree::IsWhitespaceOnly(pendingText_))
        tree_.Add(pendingKind_, open_, pendingText_, pendingLine_);
    pendingText_.clear();
}

void CXmlTreeBuilder::Record(const xmlError* error)
{
    // Warnings neither fail a load nor hide its reason. The first error is the fault to fix; the
    // parser goes on and reports what follows from it ("Premature end of data").
    if (error && error->level >= XML_ERR_ERROR)
        Fail(OneLine(error->message), error->line, true, error->int2);
}

void CXmlTreeBuilder::Fail(std::string message, long line, bool inParser, int column)
{
    if (failed_)
        return;
    failed_ = true;
    failedInParser_ = inParser;
    errorMessage_ = std::move(message);
    errorLine_ = line;
    errorColumn_ = column;
}
