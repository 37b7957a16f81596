#pragma once

#include <exception>
#include <string>
#include <thread>
#include <vector>

#include "kbfile/KBReader.h"
#include "vbcheck/VBFinding.h"
#include "vbcheck/VBProcedure.h"

class CKBItem;
class CKBWarnings;
class CVBProjectBuilder;

// Checks each VB text of a rule file where the project puts it: the items' routines as procedures
// of KBRoutine.bas, the global code's module part as GlobalCode.bas, each inline class as a class
// module; then the names that the generated files would declare twice. Runs on a thread of its
// own while the builder writes the project: it only reads what the builder holds, and logs nothing.
class CKBCodeCheck {
public:
    CKBCodeCheck() = default;
    CKBCodeCheck(const CKBCodeCheck&) = delete;
    CKBCodeCheck& operator=(const CKBCodeCheck&) = delete;
    // Waits for a check still running.
    ~CKBCodeCheck();

    // The rule-file line on which the global code's text starts.
    void SetGlobalCodeLine(long firstLine) { globalCodeLine_ = firstLine; }

    // Starts checking what builder holds; neither may change until Finish. Where no thread can be
    // started, checks right away.
    void Start(const CVBProjectBuilder& builder);
    // Waits for the check and adds its findings to warnings; rethrows what stopped it.
    void Finish(CKBWarnings& warnings);

private:
    // Where a piece of checked code stands in the rule file: the line of its first line, or,
    // with lines, the line of the text that starts at first for each of its own lines.
    struct Piece {
        long first = 0;
        const std::vector<long>* lines = nullptr;
    };

    void Run(const CVBProjectBuilder& builder);
    // KBRoutine.bas; returns the procedures other modules may call, when wanted.
    std::vector<VBProcedure> CheckRoutines(const std::vector<const CKBItem*>& items, bool publicOnesWanted);
    std::vector<VBProcedure> CheckGlobalCode(const CVBProjectBuilder& builder);
    // Checks text as one module of one piece.
    std::vector<VBProcedure> CheckModule(std::string_view text, Piece piece);
    void Report(const std::vector<VBFinding>& findings);
    // Routines that the service class calls while both standard modules declare them.
    void FindAmbiguousCalls(const std::vector<const CKBItem*>& items,
                            const std::vector<VBProcedure>& routines,
                            const std::vector<VBProcedure>& globals);
    // Arrays of one name in the Register procedure.
    void FindDuplicateArrays(const std::vector<const CKBItem*>& items);
    long RuleLine(int origin, int line) const;

    long globalCodeLine_ = 0;
    std::vector<Piece> pieces_;
    std::vector<CKBWarning> found_;
    std::thread thread_;
    std::exception_ptr failure_;
};
