#pragma once

#include "vbcheck/VBDeclaredNames.h"
#include "vbcheck/VBSpan.h"
#include "vbcheck/VBWords.h"

// The uses of declared names inside a procedure that VB6 refuses from their declarations alone:
// n(1) or s.Len on a scalar, an array with another number of subscripts than it was declared with,
// n$ for a Long, With n, For Each s and Set n on a scalar, o = Nothing, n 1 on a variable, an
// assignment to a Const, ReDim of a fixed array; and AddressOf outside an argument, Open with an
// access its mode cannot take. Names whose declaration is not certain are never judged.
class CVBUseCheck {
public:
    explicit CVBUseCheck(CVBDeclaredNames& names) : names_(names) {}

    // One statement of the open procedure, told by its first word; the first error in it, or none.
    VBSpanFinding Statement(VBSpan statement, VBStatementKind word);
    // After Statement: the name that the statement, x = Name, assigns as a whole, where no variable
    // or constant of that name is declared; VB6 refuses it when Name is a Sub of the module, which
    // only the module's end tells. Null when there is none.
    const VBToken* AssignedName() const { return assignedName_; }

private:
    VBSpanFinding Assignment(VBSpan statement, const VBToken* target, bool isSet = false);
    VBSpanFinding ReDim(VBSpan statement);
    VBSpanFinding Open(VBSpan statement) const;
    // Every name from `from` on: its subscripts, members and suffix.
    VBSpanFinding Uses(VBSpan statement, const VBToken* from);
    VBSpanFinding Use(const VBToken* name, VBSpan statement);
    // The declaration of name when it is certain; null otherwise.
    const VBDeclaredName* Known(const VBToken* name);
    // The finding about a declared name, unless the name is also one of VBA's functions or objects
    // (Dim Left As Long): whether the declaration hides those in every use is not certain.
    static VBSpanFinding Told(std::string_view message, const VBToken* name);
    // The declaration of name when it is a certain variable of a number, date or string type.
    const VBDeclaredName* ScalarVariable(const VBToken* name);

    CVBDeclaredNames& names_;
    const VBToken* assignedName_ = nullptr;
};
