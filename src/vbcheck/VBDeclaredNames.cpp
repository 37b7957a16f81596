#include "vbcheck/VBDeclaredNames.h"

#include <algorithm>

#include "vbcheck/VBNameKey.h"

VBValueType TypeOfName(const VBToken& name)
{
    switch (name.Word()) {
    case VBWord::Variant: return VBValueType::Variant;
    case VBWord::Object: return VBValueType::Object;
    case VBWord::Byte: return VBValueType::Byte;
    case VBWord::Boolean: return VBValueType::Boolean;
    case VBWord::Integer: return VBValueType::Integer;
    case VBWord::Long: return VBValueType::Long;
    case VBWord::Single: return VBValueType::Single;
    case VBWord::Double: return VBValueType::Double;
    case VBWord::Currency: return VBValueType::Currency;
    case VBWord::Date: return VBValueType::Date;
    case VBWord::String: return VBValueType::String;
    default: return VBValueType::Other;
    }
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

bool CVBDeclaredNames::IsKeyOf(std::string_view key, std::string_view asciiText)
{
    if (key.size() != asciiText.size())
        return false;
    for (size_t i = 0; i < asciiText.size(); ++i) {
        const auto c = static_cast<unsigned char>(asciiText[i]);
        if (static_cast<unsigned char>(key[i]) != (c >= 'A' && c <= 'Z' ? c | 0x20 : c))
            return false;
    }
    return true;
}

size_t CVBDeclaredNames::SieveBit(const VBToken& name)
{
    const std::string_view text = WithoutTypeSuffix(name);
    if (text.empty())
        return 0;
    // Bytes from 0x80 up may fold to other bytes: they all count as one.
    const auto fold = [](char c) {
        const auto byte = static_cast<unsigned char>(c);
        return byte >= 0x80 ? 0x80u : static_cast<unsigned>(byte | 0x20);
    };
    return (fold(text.front()) * 31 + fold(text.back()) * 7 + text.size()) % 1024;
}

void CVBDeclaredNames::Declare(const VBToken& name, VBDeclaredName declared, bool inProcedure)
{
    KeyOf(name);
    if (!inProcedure) {
        DeclareInModule(name, declared);
        return;
    }
    Sift(localSieve_, name);
    for (auto& [key, entry] : local_) {
        if (key == key_) {
            entry.uncertain = true;
            return;
        }
    }
    local_.emplace_back(key_, declared);
}

void CVBDeclaredNames::DeclareInModule(const VBToken& name, VBDeclaredName declared)
{
    const bool forbids = declared.constant || declared.dimensions > 0 ||
                         (declared.dimensions == VBDeclaredName::kNotArray &&
                          (IsScalar(declared.type) || declared.type == VBValueType::Object));
    const auto found = module_.find(key_);
    if (found != module_.end()) {
        found->second.uncertain = true;
    } else if (!forbids || declared.uncertain) {
        moduleOthers_.insert(key_);
    } else {
        declared.uncertain = moduleOthers_.count(key_) != 0;
        module_.emplace(key_, declared);
        Sift(moduleSieve_, name);
    }
}

const VBDeclaredName* CVBDeclaredNames::Find(const VBToken& name)
{
    const size_t bit = SieveBit(name);
    const auto sifted = [bit](const Sieve& sieve) { return (sieve[bit / 64] >> (bit % 64)) & 1; };
    if (sifted(localSieve_)) {
        // An ASCII name is compared with the keys as it stands: most names are, and a procedure's
        // few names are not worth a key each.
        const std::string_view text = WithoutTypeSuffix(name);
        const bool ascii = std::all_of(text.begin(), text.end(), [](char c) { return (c & 0x80) == 0; });
        if (!ascii)
            KeyOf(name);
        for (const auto& [key, entry] : local_) {
            if (ascii ? IsKeyOf(key, text) : key == key_)
                return &entry;
        }
    }
    if (!sifted(moduleSieve_))
        return nullptr;
    KeyOf(name);
    const auto found = module_.find(key_);
    return found == module_.end() ? nullptr : &found->second;
}

bool CVBDeclaredNames::Declares(const VBToken& name)
{
    if (Find(name))
        return true;
    KeyOf(name);
    return moduleOthers_.count(key_) != 0 || IsLocal(name);
}

bool CVBDeclaredNames::IsLocal(const VBToken& name)
{
    if (!MayHave(name))
        return false;
    KeyOf(name);
    for (const auto& entry : local_) {
        if (entry.first == key_)
            return true;
    }
    return false;
}
