#pragma once

#include <string>
#include <string_view>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "vbcheck/VBToken.h"

// #If, #ElseIf, #Else, #End If and #Const as VB6 reads them: the conditions are evaluated with
// its own constants (Win32 true, Win16 false) and the module's #Const values, any other name
// being Empty, so that only the branch VB6 compiles is checked.
class CVBConditions {
public:
    // Where an #If that was never closed stands.
    struct OpenIf {
        int piece = 0;
        int line = 0;
    };

    // A constant the project defines for all its modules (a .vbp's CondComp).
    void SetConstant(std::string_view name, long long value);
    // Takes one directive line (its first token a Directive); VB6's message when it refuses the
    // line, else empty.
    std::string_view Take(const std::vector<VBToken>& tokens, int piece);
    // Whether the code at this point is compiled.
    bool Active() const { return inactiveDepth_ == 0; }
    // Whether an #If is open: the branch read may be another where a project sets its constants.
    bool InsideIf() const { return !levels_.empty(); }
    std::vector<OpenIf> Unclosed() const;

private:
    struct Level {
        OpenIf start;
        bool parentActive = true;
        bool taken = false;     // this branch is compiled
        bool anyTaken = false;  // one of the branches so far was
        bool elseSeen = false;
    };

    long long Evaluate(const std::vector<VBToken>& tokens, size_t from) const;
    void Enter(bool taken, int piece, int line);
    void Leave();
    std::string_view Define(const std::vector<VBToken>& tokens);
    void Switch(bool condition, bool isElse);

    std::vector<Level> levels_;
    size_t inactiveDepth_ = 0;
    std::unordered_map<std::string, long long> constants_;
    // The names the module's own #Const lines define, which it may not define twice.
    std::unordered_set<std::string> defined_;
};
