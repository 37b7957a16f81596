#pragma once

#include <string>
#include <unordered_map>
#include <vector>

#include "vbcheck/VBDeclarationTypes.h"
#include "vbcheck/VBDeclaredNames.h"
#include "vbcheck/VBFindings.h"
#include "vbcheck/VBUseCheck.h"

// The compile errors that need what a declaration says: the types, bounds and kinds of the names
// the module and its procedures declare, and how the statements use them. Reads each logical line
// after the statement parser, statement by statement; tells an error only on a line that parser
// read through, and only about names declared outside any #If, once, on such a line.
class CVBTypeCheck {
public:
    explicit CVBTypeCheck(CVBFindings& findings) : findings_(findings), declarations_(names_), uses_(names_) {}

    // A logical line, its tokens ending in an End token; readThrough when the parser found no error
    // in it, insideIf when an #If is open around it.
    void Line(const std::vector<VBToken>& tokens, int piece, bool readThrough, bool insideIf);
    // At the module's end: the Subs of the module assigned as values.
    void Finish();

private:
    void Statement(VBSpan statement);
    VBSpanFinding Declaration(VBSpan statement);
    VBSpanFinding Header(const VBToken* word, VBSpan statement);
    // DefInt A-M, X: the letters it covers, which no other Deftype may cover, after no variable.
    VBSpanFinding Deftype(VBSpan statement);
    // A line inside a Type or an Enum: its members are no variables.
    void InsideModuleBlock(VBSpan statement);
    // A name the module declares at its level: a procedure, a Declare, an Event, a Type or an Enum
    // and its members.
    void NoteModuleName(const VBToken* name, bool sub);
    void Report(const VBSpanFinding& finding);

    CVBFindings& findings_;
    CVBDeclaredNames names_;
    CVBDeclarationTypes declarations_;
    CVBUseCheck uses_;
    int piece_ = 0;
    bool readThrough_ = false;
    bool certain_ = false;
    bool reported_ = false;  // the line has its finding
    bool inProcedure_ = false;
    bool variableDeclared_ = false;  // at module level, for certain
    unsigned deftypeLetters_ = 0;    // a bit for each letter a certain Deftype covers
    enum class ModuleBlock : unsigned char { None, Type, Enum } block_ = ModuleBlock::None;
    // For each name of the module's level: whether it is certainly one Sub and nothing else.
    std::unordered_map<std::string, bool> moduleNames_;
    struct Assigned {
        int piece;
        int line;
        VBPlace place;
        std::string key;
    };
    std::vector<Assigned> assigned_;
    std::string key_;
};
