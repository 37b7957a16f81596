#pragma once

#include <string>
#include <string_view>

#include "platform/InputFile.h"

// A rule file handed to the parser a piece at a time, so that its bytes are never held whole.
// A read error anywhere in the file, or a file larger than the parser can count, fails the load
// whatever the parser made of the bytes before it.
class CXmlFileSource {
public:
    // Whether bytes begin with the byte-order mark of UTF-8 or of UTF-16, either byte order. The
    // mark says what the bytes are, whatever encoding the declaration names.
    static bool StartsWithByteOrderMark(std::string_view bytes);

    // False, with ErrorText, when the file cannot be opened or read from, or with TooLarge, when
    // it is larger than the parser can count.
    bool Open(const std::string& path);
    // Up to size bytes into buffer: their count, 0 at the end of the file, -1 once reading failed.
    int Read(char* buffer, int size);
    // Reads what the parser left unread, so that a read error past the place where the parser
    // stopped still fails the load.
    void ReadToEnd();

    bool StartsWithByteOrderMark() const { return startsWithMark_; }
    bool ReadFailed() const { return !file_.ErrorText().empty(); }
    bool TooLarge() const { return tooLarge_; }
    // The system's words for the failed open or read ("Is a directory"), empty when none.
    const std::string& ErrorText() const { return file_.ErrorText(); }

private:
    CInputFile file_;
    // The first bytes, read on opening and handed out before the rest.
    std::string head_;
    bool startsWithMark_ = false;
    unsigned long long total_ = 0;
    bool tooLarge_ = false;
};
