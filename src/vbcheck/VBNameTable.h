#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

// Names, each kept once with a number beside it, all in one text: a generated module declares
// hundreds of thousands of procedures, which a map of strings would allocate one at a time. Names
// are compared byte for byte; callers fold them first where case does not count.
class CVBNameTable {
public:
    // The number kept with name; a name not seen before is added with 0, and added (when given)
    // says so.
    long& Value(std::string_view name, bool* added = nullptr);
    // The number kept with name, 0 when it was never added.
    long ValueOf(std::string_view name) const;

private:
    struct Entry {
        size_t start;  // where the name stands in text_
        size_t size;
        size_t hash;
        long value;
    };

    // The slot that holds name's entry, or the free one where it would go.
    size_t Find(std::string_view name, size_t hash) const;
    void Grow();

    std::vector<Entry> entries_;
    // A power of two of slots, never more than half used, each an index into entries_ plus one,
    // 0 when free: small slots keep the table's memory near that of the names themselves.
    std::vector<unsigned> slots_;
    std::string text_;
};
