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
    if (2 * (entries_.size() + 1) > slots_.size())
        Grow();
    const size_t hash = HashOf(name);
    unsigned& slot = slots_[Find(name, hash)];
    if (added)
        *added = slot == 0;
    if (slot == 0) {
        entries_.push_back({text_.size(), name.size(), hash, 0});
        text_.append(name);
        slot = static_cast<unsigned>(entries_.size());
    }
    return entries_[slot - 1].value;
}

long CVBNameTable::ValueOf(std::string_view name) const
{
    if (slots_.empty())
        return 0;
    const unsigned slot = slots_[Find(name, HashOf(name))];
    return slot == 0 ? 0 : entries_[slot - 1].value;
}

size_t CVBNameTable::Find(std::string_view name, size_t hash) const
{
    const size_t mask = slots_.size() - 1;
    for (size_t i = hash & mask;; i = (i + 1) & mask) {
        if (slots_[i] == 0)
            return i;
        const Entry& entry = entries_[slots_[i] - 1];
        if (entry.hash == hash && std::string_view(text_).substr(entry.start, entry.size) == name)
            return i;
    }
}

void CVBNameTable::Grow()
{
    slots_.assign(slots_.empty() ? kFirstSlots : 2 * slots_.size(), 0);
    const size_t mask = slots_.size() - 1;
    // The names are all different: each goes to the first free slot from its hash on.
    for (size_t index = 0; index < entries_.size(); ++index) {
        size_t i = entries_[index].hash & mask;
        while (slots_[i] != 0)
            i = (i + 1) & mask;
        slots_[i] = static_cast<unsigned>(index + 1);
    }
}
