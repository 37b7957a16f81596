#pragma once

#include <string>
#include <vector>

#include "vbcheck/VBNameTable.h"
#include "vbcheck/VBToken.h"

// The variables and constants declared in the module's declarations section and in the open
// procedure (its parameters first), to find one declared twice in one scope.
class CVBScopeNames {
public:
    // A procedure begins: its names start empty.
    void StartProcedure() { local_.clear(); }
    // Records name in the procedure's scope or the module's; false when the scope already has it.
    bool Declare(const VBToken& name, bool inProcedure);
    // Whether the procedure or the module declares name as a variable or constant.
    bool Has(const VBToken& name);

private:
    // Folded, without a type suffix: a$ and A are one name.
    void KeyOf(const VBToken& name);

    CVBNameTable module_;
    // A procedure declares few names: a list searched in turn costs less than a table.
    std::vector<std::string> local_;
    std::string key_;
};
