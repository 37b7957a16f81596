#pragma once

#include <string>
#include <vector>

#include "vbcheck/VBBlocks.h"
#include "vbcheck/VBCursor.h"
#include "vbcheck/VBExpressions.h"
#include "vbcheck/VBNameTable.h"
#include "vbcheck/VBScopeNames.h"
#include "vbcheck/VBWords.h"

// The declaring statements: variables, constants, procedure headers, Declare, Type and Enum with
// their members. Remembers the module's procedures, to find two of one name.
class CVBDeclarations {
public:
    CVBDeclarations(CVBCursor& cursor, CVBExpressions& expressions, CVBBlocks& blocks)
        : cursor_(cursor), expressions_(expressions), blocks_(blocks)
    {
    }

    // Reads the statement at the cursor, which starts with a scope, Dim, Static, Const, Sub,
    // Function, Property, Declare, Type, Enum or Event; first when it begins its line.
    bool Declaration(bool first, int piece);
    // A line inside a Type block; false with the cursor holding the error when it is none.
    bool TypeMember();
    // A line inside an Enum block; false when it is not a member, which ends the block.
    bool EnumMember();

    // A procedure that other modules may call: declared, or Declared, without Private.
    struct PublicProcedure {
        int piece;
        int line;
        std::string name;
    };
    std::vector<PublicProcedure> PublicProcedures() const;

    // A call statement of name with so many plain arguments (none omitted, none named).
    void AddCall(const VBToken& name, int arguments, int piece, VBPlace place);
    // At the module's end: the calls that pass another count than their procedure of this module
    // takes; a procedure of the module is the one meant, whatever other modules declare.
    void CheckCalls(CVBFindings& findings) const;

private:
    struct Scope {
        bool isPrivate = false;
        bool isPublic = false;  // Public or Global
        bool isFriend = false;
        bool isStatic = false;
    };
    bool ModuleLevel(VBStatementKind word, int piece, const VBToken& start, Scope scope);
    bool Procedure(bool first, int piece, const VBToken& start, bool isPrivate);
    bool Declare(int piece, int line, bool isPrivate);
    bool Variables();
    bool Constants();
    // Takes "End word" and closes the Type or Enum block it ends; false when the line is another.
    bool TakeBlockEnd(VBWord word);
    // What a call must pass: count arguments when fixed (no Optional, no ParamArray).
    struct Signature {
        long count = 0;
        bool fixed = true;
    };
    bool SkipParameters(Signature& signature);
    // Records the signature of the procedure Register just took.
    void Sign(Signature signature);
    // Records a procedure; false, with the cursor holding "Ambiguous name detected", when the
    // module already has one that VB6 would not tell apart from it.
    bool Register(const VBToken& name, unsigned kindBit);
    void AddPublic(int piece, int line, std::string_view name);

    CVBCursor& cursor_;
    CVBExpressions& expressions_;
    CVBBlocks& blocks_;
    CVBScopeNames names_;
    // Procedure names in lower case, each with a bit per kind declared (Sub, Property Get, ...).
    CVBNameTable procedures_;
    // The public procedures with their names as one text, so that a module of many procedures
    // does not allocate a name for each.
    struct PublicName {
        int piece;
        int line;
        size_t start;
        size_t size;
    };
    std::vector<PublicName> publicProcedures_;
    std::string publicNames_;
    std::string procedureKey_;
    int typeMembers_ = 0;  // of the Type being read
    CVBNameTable signatures_;
    struct Call {
        int piece;
        int line;
        VBPlace place;
        int arguments;
        size_t start;  // the folded name in callNames_
        size_t size;
    };
    std::vector<Call> calls_;
    std::string callNames_;
    std::string ambiguity_;  // the message the cursor holds a view of
};
