#pragma once

#include <vector>

#include "vbcheck/VBBlocks.h"
#include "vbcheck/VBCursor.h"
#include "vbcheck/VBDeclarations.h"
#include "vbcheck/VBExpressions.h"
#include "vbcheck/VBFindings.h"

// Reads one logical line after another: a label or line number, then statements split at colons,
// each read by its first word. Blocks go to CVBBlocks; the first error of a line is its finding.
class CVBStatements {
public:
    CVBStatements(CVBBlocks& blocks, CVBFindings& findings)
        : expressions_(cursor_, blocks), declarations_(cursor_, expressions_, blocks), blocks_(blocks),
          findings_(findings)
    {
    }

    // Reads one logical line; false when it holds an error, told or not.
    bool Line(const std::vector<VBToken>& tokens, int piece);
    // At the module's end: what only the whole module tells.
    void Finish() { declarations_.CheckCalls(findings_); }
    std::vector<CVBDeclarations::PublicProcedure> PublicProcedures() const
    {
        return declarations_.PublicProcedures();
    }

private:
    // Statements up to the line's end, or up to the Else of the single-line If being read.
    bool Statements(bool first);
    bool Statement(bool first);
    bool Executable(VBStatementKind word);
    bool Simple(VBStatementKind word);
    bool Else();
    bool DoOrLoop(VBStatementKind word);
    bool Select();
    bool Resume();
    bool Call();
    bool Erase();
    bool OwnForm();
    bool ReDim();
    bool InsideModuleBlock(bool first);
    bool StartsDeclaration() const;
    bool StartsProcedure() const;
    bool Option();
    bool If();
    bool ElseIf();
    bool Exit();
    bool End();
    bool EndBlock(VBBlockKind kind, std::string_view unmatched);
    bool EndProcedure(VBBlockKind kind);
    bool For();
    bool Next();
    bool Case();
    bool On();
    bool Target();
    bool Assignment();
    bool CallOrAssignment();
    bool SkipStatement();
    void NoteCall(bool inParentheses);
    bool InSingleLineIf() const { return singleLineIfs_ > 0; }

    CVBCursor cursor_;
    CVBExpressions expressions_;
    CVBDeclarations declarations_;
    CVBBlocks& blocks_;
    CVBFindings& findings_;
    int piece_ = 0;
    int singleLineIfs_ = 0;
    // Set by a statement after which another may follow without a colon: Else x = 1.
    bool statementMayFollow_ = false;
    unsigned options_ = 0;  // a bit for each Option kind the module has
    bool tryOpen_ = false;  // a VB.NET Try in the open procedure
};
