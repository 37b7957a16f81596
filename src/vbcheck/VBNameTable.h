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

private:
    struct Slot {
        bool used = false;
        size_t hash = 0;
        size_t start = 0;  // where the name stands in text_
        size_t size = 0;
        long value = 0;
    };

    // The slot that holds name, or the free one where it would go.
    size_t Find(std::string_view name, size_t hash) const;
    void Grow();

    std::vector<Slot> slots_;  // a power of two of them, never more than half used
    std::string text_;
    size_t count_ = 0;
};
