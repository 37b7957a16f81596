#include "vbcheck/VBDeclaredNames.h"

#include "vbcheck/VBKeywords.h"

VBValueType TypeOfName(const VBToken& name)
{
    struct Entry {
        std::string_view word;
        VBValueType type;
    };
    static constexpr Entry kTypes[] = {
        {"Variant", VBValueType::Variant}, {"Object", VBValueType::Object},     {"Byte", VBValueType::Byte},
        {"Boolean", VBValueType::Boolean}, {"Integer", VBValueType::Integer},   {"Long", VBValueType::Long},
        {"Single", VBValueType::Single},   {"Double", VBValueType::Double},     {"Currency", VBValueType::Currency},
        {"Date", VBValueType::Date},       {"String", VBValueType::String},
    };
    if (name.kind != VBTokenKind::Word || name.escaped)
        return VBValueType::Other;
    for (const Entry& entry : kTypes) {
        if (IsKeyword(name.text, entry.word))
            return entry.type;
    }
    return VBValueType::Other;
}

VBValueType TypeOfSuffix(char suffix)
{
    switch (suffix) {
    case '%': return VBValueType::Integer;
    case '&': return VBValueType::Long;
    case '!': return VBValueType::Single;
    case '#': return VBValueType::Double;
    case '@': return VBValueType::Currency;
    case '$': return VBValueType::String;
    default: return VBValueType::Unknown;
    }
}

void CVBDeclaredNames::KeyOf(const VBToken& name)
{
    NameKeyInto(WithoutTypeSuffix(name), key_);
}

void CVBDeclaredNames::Declare(const VBToken& name, VBDeclaredName declared, bool inProcedure)
{
    KeyOf(name);
    if (!inProcedure) {
        auto [entry, added] = module_.emplace(key_, declared);
        entry->second.uncertain = entry->second.uncertain || !added;
        return;
    }
    for (auto& [key, entry] : local_) {
        if (key == key_) {
            entry.uncertain = true;
            return;
        }
    }
    local_.emplace_back(key_, declared);
}

const VBDeclaredName* CVBDeclaredNames::Find(const VBToken& name)
{
    KeyOf(name);
    for (const auto& [key, entry] : local_) {
        if (key == key_)
            return &entry;
    }
    const auto found = module_.find(key_);
    return found == module_.end() ? nullptr : &found->second;
}

bool CVBDeclaredNames::IsLocal(const VBToken& name)
{
    KeyOf(name);
    for (const auto& entry : local_) {
        if (entry.first == key_)
            return true;
    }
    return false;
}
