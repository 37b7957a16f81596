#include "xml/XmlCodePages.h"

#include <string>
#include <string_view>
#include <utility>

#include <libxml/encoding.h>

#include "common/CodePages.h"
#include "platform/TextDecoder.h"

namespace {

// The parser's input converter for the code page of kPages[I]; it has no room for a context, so
// there is one function per code page. What a piece of input cuts off at its end is left unread:
// the parser keeps it and hands it over again with the next piece.
template <size_t I>
int DecodeInto(unsigned char* out, int* outLength, const unsigned char* in, int* inLength)
{
    const CTextDecoder::Result result =
        CTextDecoder::Decode(CCodePages::kPages[I].number,
                             std::string_view(reinterpret_cast<const char*>(in), static_cast<size_t>(*inLength)),
                             reinterpret_cast<char*>(out), static_cast<size_t>(*outLength));
    *inLength = static_cast<int>(result.read);
    *outLength = static_cast<int>(result.written);
    // -2 is the parser's code for input that is no text of the encoding, as its own converters say it.
    return result.invalid ? -2 : *outLength;
}

void RegisterPage(const CCodePages::Page& page, xmlCharEncodingInputFunc decode)
{
    if (page.number == CCodePages::kUtf8)
        return;  // the parser's own encoding
    const std::string canonical = "CP" + std::to_string(page.number);
    // A parser built with iconv has a converter of that name already, and keeps using it.
    if (xmlCharEncodingHandler* existing = xmlFindCharEncodingHandler(canonical.c_str()))
        xmlCharEncCloseFunc(existing);
    else
        xmlNewCharEncodingHandler(canonical.c_str(), decode, nullptr);
    for (std::string_view name : page.names)
        if (!name.empty())
            xmlAddEncodingAlias(canonical.c_str(), std::string(name).c_str());
}

template <size_t... I>
void RegisterPages(std::index_sequence<I...>)
{
    (RegisterPage(CCodePages::kPages[I], &DecodeInto<I>), ...);
}

bool RegisterAll()
{
    RegisterPages(std::make_index_sequence<std::size(CCodePages::kPages)>());
    return true;
}

}  // namespace

void CXmlCodePages::Register()
{
    static const bool registered = RegisterAll();
    (void)registered;
}
