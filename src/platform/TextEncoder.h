#pragma once

#include <cstddef>
#include <memory>
#include <string>
#include <string_view>

#include "common/Utf8.h"

// Turns the program's UTF-8 text into the bytes of one code page, for the files it writes. A
// character that the code page cannot hold becomes the one byte '?', as Windows writes it without
// best-fit mapping, and is counted; so does a C1 control, which Windows' tables put in the holes
// of their code pages and no other converter does. UTF-8 itself is written as it is, without any
// conversion.
class CTextEncoder {
public:
    // From a Windows code page's number or name (CCodePages); on Linux also from any other name
    // that the system's converter knows. None for anything else, and for a code page that does
    // not write ASCII as ASCII (UTF-16, EBCDIC, ...): line ends and '?' must stay single bytes.
    static std::unique_ptr<CTextEncoder> Create(const std::string& codePage);
    // The code page that files are written in when none is chosen.
    static std::string DefaultCodePage();

    ~CTextEncoder();
    CTextEncoder(const CTextEncoder&) = delete;
    CTextEncoder& operator=(const CTextEncoder&) = delete;

    // The code page as it was chosen ("1252", "windows-1252"), for messages.
    const std::string& Name() const { return name_; }
    // True for UTF-8: text needs no conversion at all.
    bool PassesThrough() const { return !converter_; }
    // Appends text, which must hold whole characters, to out in the code page.
    void Encode(std::string_view text, std::string& out);
    // Characters written as '?' so far.
    size_t Replacements() const { return replacements_; }

private:
    struct Converter;  // the platform's conversion state; none for UTF-8

    CTextEncoder(std::string name, std::unique_ptr<Converter> converter);
    // Appends a run of non-ASCII text; the rest is ASCII and is copied as it is.
    void EncodeRun(std::string_view run, std::string& out);

    std::string name_;
    std::unique_ptr<Converter> converter_;
    size_t replacements_ = 0;
};

// Every code page taken writes ASCII as it is, so only the runs of other characters go through the
// converter; VB code is mostly ASCII.
inline void CTextEncoder::Encode(std::string_view text, std::string& out)
{
    if (!converter_) {
        out.append(text);
        return;
    }
    CUtf8::ForEachRun(text, [&](std::string_view run, bool ascii) {
        if (ascii)
            out.append(run);
        else
            EncodeRun(run, out);
    });
}
