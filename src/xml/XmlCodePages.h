#pragma once

// Lets the XML parser read rule files declared in a Windows code page by any of its names
// (CCodePages), alike on both platforms: each name stands for "CP" and the code page's number, and
// where the parser has no converter of that name of its own (built without iconv, as for
// Windows), the platform's decoder reads it.
class CXmlCodePages {
public:
    // Registers the names and decoders with the parser, the first time only; before every parse.
    static void Register();
};
