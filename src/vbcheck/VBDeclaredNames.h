#pragma once

#include <array>
#include <string>
#include <string_view>
#include <unordered_map>
#include <unordered_set>
#include <utility>
#include <vector>

#include "vbcheck/VBToken.h"

// The types a declaration can write, as far as the checks of their uses tell them apart. Other:
// a class, a user-defined type or an Enum.
enum class VBValueType : unsigned char {
    Unknown, Other, Variant, Object, Byte, Boolean, Integer, Long, Single, Double, Currency, Date, String
};

// The type a type name or a type suffix stands for: Other for a name that is no intrinsic type,
// Unknown for a character that is no suffix.
VBValueType TypeOfName(const VBToken& name);
VBValueType TypeOfSuffix(char suffix);
// A number, a date or a string: a value of its own, with no members and no elements.
inline bool IsScalar(VBValueType type)
{
    return type >= VBValueType::Byte;
}

// What a declaration says about a name, where it says it for certain.
struct VBDeclaredName {
    VBValueType type = VBValueType::Unknown;
    static constexpr int kNotArray = -1;
    int dimensions = kNotArray;  // 0 for a dynamic array, whose bounds come with ReDim
    bool constant = false;
    // Declared where VB6 may see it otherwise: inside an #If (a project's constant may choose the
    // other branch), twice, or on a line that did not read through. Its uses are never judged.
    bool uncertain = false;
};

// The names the declarations section declares, and those of the open procedure (its parameters
// first): a procedure's name hides the module's of the same spelling.
class CVBDeclaredNames {
public:
    void StartProcedure()
    {
        local_.clear();
        localSieve_ = {};
    }
    void Declare(const VBToken& name, VBDeclaredName declared, bool inProcedure);
    // The declaration a use of name means, where it may forbid a use; null when neither the
    // procedure nor the module has one (a procedure, a name of another module or a library, an
    // implicit variable), and for the module's variables of a class or Variant, which forbid none.
    const VBDeclaredName* Find(const VBToken& name);
    // Whether the procedure or the module declares name at all.
    bool Declares(const VBToken& name);
    // Whether the open procedure declares name.
    bool IsLocal(const VBToken& name);
    // Whether neither the procedure nor the module declares any name: no use needs looking up.
    bool Empty() const { return local_.empty() && module_.empty(); }

private:
    void KeyOf(const VBToken& name);
    // A bit for the length and the outer letters of each declared name, in any case: most names
    // a statement uses are declared nowhere, which the bit tells without building their key.
    static size_t SieveBit(const VBToken& name);
    // Whether key is the key KeyOf makes of a name of ASCII characters.
    static bool IsKeyOf(std::string_view key, std::string_view asciiText);
    using Sieve = std::array<unsigned long long, 16>;
    bool MayHave(const VBToken& name) const
    {
        const size_t bit = SieveBit(name);
        return ((moduleSieve_[bit / 64] | localSieve_[bit / 64]) >> (bit % 64)) & 1;
    }
    static void Sift(Sieve& sieve, const VBToken& name)
    {
        const size_t bit = SieveBit(name);
        sieve[bit / 64] |= 1ull << (bit % 64);
    }
    void DeclareInModule(const VBToken& name, VBDeclaredName declared);

    Sieve moduleSieve_{};
    Sieve localSieve_{};
    // The module's names whose declaration forbids no use, kept apart so that their many uses
    // are not looked up.
    std::unordered_set<std::string> moduleOthers_;

    std::unordered_map<std::string, VBDeclaredName> module_;
    // A procedure declares few names: a list searched in turn costs less than a table.
    std::vector<std::pair<std::string, VBDeclaredName>> local_;
    std::string key_;
};
