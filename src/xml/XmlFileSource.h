#pragma once

#include <cstdio>
#include <memory>
#include <string>
#include <string_view>

// A rule file handed to the parser a piece at a time, so that its bytes are never held whole.
// A read error anywhere in the file, or a file larger than the parser can count, fails the load
// whatever the parser made of the bytes before it.
class CXmlFileSource {
public:
    // The byte-order mark of UTF-8.
    static constexpr std::string_view kUtf8Mark = "\xEF\xBB\xBF";

    // False, with ErrorText, when the file cannot be opened or read from (a folder opens, and
    // fails on its first read).
    bool Open(const std::string& path);
    // Up to size bytes into buffer: their count, 0 at the end of the file, -1 once reading failed.
    int Read(char* buffer, int size);
    // Reads what the parser left unread, so that a read error past the place where the parser
    // stopped still fails the load.
    void ReadToEnd();

    // Whether the file begins with kUtf8Mark.
    bool StartsWithUtf8Mark() const { return startsWithUtf8Mark_; }
    bool ReadFailed() const { return !errorText_.empty(); }
    bool TooLarge() const { return tooLarge_; }
    // errno text of the failed read ("Is a directory"), empty when none.
    const std::string& ErrorText() const { return errorText_; }

private:
    struct Closer {
        void operator()(std::FILE* file) const { std::fclose(file); }
    };
    bool Failed();

    // Declared before the file, which uses it until it is closed.
    std::unique_ptr<char[]> buffer_;
    std::unique_ptr<std::FILE, Closer> file_;
    std::string errorText_;
    // The first bytes, read on opening and handed out before the rest.
    std::string head_;
    bool startsWithUtf8Mark_ = false;
    unsigned long long total_ = 0;
    bool tooLarge_ = false;
};
