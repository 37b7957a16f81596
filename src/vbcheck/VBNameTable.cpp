#include "vbcheck/VBNameTable.h"

namespace {

constexpr size_t kFirstSlots = 64;

// FNV-1a: short names, one pass, no allocation.
size_t HashOf(std::string_view name)
{
    unsigned long long hash = 14695981039346656037ull;
    for (unsigned char c : name) {
        hash ^= c;
        hash *= 1099511628211ull;
    }
    return static_cast<size_t>(hash);
}

}  // namespace

long& CVBNameTable::Value(std::string_view name, bool* added)
{
    if (2 * (count_ + 1) > slots_.size())
        Grow();
    const size_t hash = HashOf(name);
    Slot& slot = slots_[Find(name, hash)];
    if (added)
        *added = !slot.used;
    if (!slot.used) {
        slot = {true, hash, text_.size(), name.size(), 0};
        text_.append(name);
        ++count_;
    }
    return slot.value;
}

size_t CVBNameTable::Find(std::string_view name, size_t hash) const
{
    const size_t mask = slots_.size() - 1;
    for (size_t i = hash & mask;; i = (i + 1) & mask) {
        const Slot& slot = slots_[i];
        if (!slot.used || (slot.hash == hash && std::string_view(text_).substr(slot.start, slot.size) == name))
            return i;
    }
}

void CVBNameTable::Grow()
{
    std::vector<Slot> old = std::move(slots_);
    slots_.assign(old.empty() ? kFirstSlots : 2 * old.size(), Slot{});
    const size_t mask = slots_.size() - 1;
    // The names are all different: each goes to the first free slot from its hash on.
    for (const Slot& slot : old) {
        if (!slot.used)
            continue;
        size_t i = slot.hash & mask;
        while (slots_[i].used)
            i = (i + 1) & mask;
        slots_[i] = slot;
    }
}
