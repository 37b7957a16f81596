#pragma once

#include "vbcheck/VBDeclaredNames.h"
#include "vbcheck/VBSpan.h"

// Reads what variable, constant and parameter declarations say about their names into the table
// of declared names, and finds the errors VB6 tells in the declarations themselves: bounds that
// hold no values, a Const that overflows its type or divides by zero, New of an intrinsic type, a
// ParamArray of another type than Variant. Each returns the first error, or none.
class CVBDeclarationTypes {
public:
    explicit CVBDeclarationTypes(CVBDeclaredNames& names) : names_(names) {}

    // certain: the line read through outside any #If, so that what it declares is what VB6 sees.
    void Start(bool inProcedure, bool certain)
    {
        inProcedure_ = inProcedure;
        certain_ = certain;
    }
    // The list after Dim, Static, Private, Public or Global: a, b(1 To 3) As Long, c As New Foo.
    VBSpanFinding Variables(VBSpan list);
    // The list after Const: a = 1, b As Integer = 2.
    VBSpanFinding Constants(VBSpan list);
    // A procedure's parameters, inside the parentheses of its header.
    VBSpanFinding Parameters(VBSpan list);

private:
    VBSpanFinding Variable(VBSpan item);
    VBSpanFinding Constant(VBSpan item);
    VBSpanFinding Parameter(VBSpan item);
    // The dimensions between the parentheses of a declaration; problem tells bounds with no values.
    static int Dimensions(VBSpan bounds, std::string_view& problem);
    // The type of an As clause at the span's start (As [New] Type [* n]), or of the name's suffix;
    // problem tells New of an intrinsic type.
    static VBValueType TypeOf(const VBToken& name, VBSpan asClause, std::string_view& problem);
    void Declare(const VBToken& name, VBDeclaredName declared);

    CVBDeclaredNames& names_;
    bool inProcedure_ = false;
    bool certain_ = false;
};
