#pragma once

#include <string>
#include <string_view>
#include <unordered_map>
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
    void StartProcedure() { local_.clear(); }
    void Declare(const VBToken& name, VBDeclaredName declared, bool inProcedure);
    // The declaration a use of name means; null when neither the procedure nor the module has one
    // (a procedure, a name of another module or a library, an implicit variable).
    const VBDeclaredName* Find(const VBToken& name);
    // Whether the open procedure declares name.
    bool IsLocal(const VBToken& name);
    // Whether neither the procedure nor the module declares any name: no use needs looking up.
    bool Empty() const { return local_.empty() && module_.empty(); }

private:
    void KeyOf(const VBToken& name);

    std::unordered_map<std::string, VBDeclaredName> module_;
    // A procedure declares few names: a list searched in turn costs less than a table.
    std::vector<std::pair<std::string, VBDeclaredName>> local_;
    std::string key_;
};
