#pragma once

#include <string_view>
#include <vector>

#include "vbcheck/VBBlocks.h"
#include "vbcheck/VBConditions.h"
#include "vbcheck/VBFinding.h"
#include "vbcheck/VBFindings.h"
#include "vbcheck/VBProcedure.h"
#include "vbcheck/VBStatements.h"
#include "vbcheck/VBTypeCheck.h"

// The compile errors VB6 would report in one module (a standard module, a class, a form's code),
// found without VB6. The module's code comes as one or more pieces, each the caller's own text
// with its own line numbers; the pieces follow each other as the module's consecutive lines. Bytes
// from 0x80 up are letters of some code page; lines end in CR LF, LF or CR. One object checks one
// module. Where it is not sure that VB6 would refuse the code, it says nothing.
//
//     CVBModuleCheck check;
//     check.AddPiece(itemA, codeOfItemA);
//     check.AddPiece(itemB, codeOfItemB);
//     for (const VBFinding& finding : check.Finish()) ...
class CVBModuleCheck {
public:
    CVBModuleCheck();
    CVBModuleCheck(const CVBModuleCheck&) = delete;
    CVBModuleCheck& operator=(const CVBModuleCheck&) = delete;

    // A conditional-compilation constant of the project, before the first piece.
    void SetConstant(std::string_view name, long long value) { conditions_.SetConstant(name, value); }
    // Checks the next piece; origin is reported with each finding in it. The text need not
    // outlive the call.
    void AddPiece(int origin, std::string_view text);
    // Tells what is still open at the module's end; the findings of all pieces, in source order.
    std::vector<VBFinding> Finish();
    // The procedures declared so far without Private, in source order: in a standard module,
    // those every other module may call unqualified.
    std::vector<VBProcedure> PublicProcedures() const;

    // Tells what kind of module it is (a .bas, or a class, form or user control); before the first
    // piece. Errors that belong to one kind are told only where the kind is known.
    void SetModuleKind(VBModuleKind kind) { blocks_.SetModuleKind(kind); }

private:
    void Directive(int piece);

    CVBFindings findings_;
    CVBBlocks blocks_;
    CVBConditions conditions_;
    CVBStatements statements_;
    CVBTypeCheck types_;
    std::vector<int> origins_;
    // The current line's tokens, kept across lines and pieces so that its room is made once.
    std::vector<VBToken> tokens_;
};
