#include "kbfile/KBCodeCheck.h"

#include <algorithm>
#include <system_error>
#include <unordered_map>
#include <utility>

#include "common/FoldCase.h"
#include "common/MessageText.h"
#include "kbfile/KBWarnings.h"
#include "kbitems/KBItem.h"
#include "platform/WorkerThread.h"
#include "vbcheck/VBCheckMessages.h"
#include "vbcheck/VBModuleCheck.h"
#include "vbcheck/VBNameTable.h"
#include "vbproject/GlobalCode.h"
#include "vbproject/VBProjectBuilder.h"

CKBCodeCheck::~CKBCodeCheck()
{
    if (thread_.joinable())
        thread_.join();
}

void CKBCodeCheck::Start(const CVBProjectBuilder& builder)
{
    const auto run = [this, &builder] {
        try {
            Run(builder);
        } catch (...) {
            failure_ = std::current_exception();
        }
    };
    try {
        thread_ = CWorkerThread::Start(run);
    } catch (const std::system_error&) {
        run();
    }
}

void CKBCodeCheck::Finish(CKBWarnings& warnings)
{
    if (thread_.joinable())
        thread_.join();
    if (failure_)
        std::rethrow_exception(std::exchange(failure_, nullptr));
    for (const CKBWarning& finding : found_)
        warnings.VBCompileError(finding);
    found_.clear();
}

void CKBCodeCheck::Run(const CVBProjectBuilder& builder)
{
    const std::vector<const CKBItem*> items = builder.ItemsInOrder();
    const std::vector<VBProcedure> globals = CheckGlobalCode(builder);
    // The routines' names matter only beside public ones of the global code.
    const std::vector<VBProcedure> routines = CheckRoutines(items, !globals.empty());
    FindAmbiguousCalls(items, routines, globals);
    FindDuplicateArrays(items);
}

std::vector<VBProcedure> CKBCodeCheck::CheckRoutines(const std::vector<const CKBItem*>& items,
                                                     bool publicOnesWanted)
{
    CVBModuleCheck check;
    for (const CKBItem* item : items) {
        item->RoutineParts([&](size_t index, std::string_view part) {
            pieces_.push_back({index < item->partLines.size() ? item->partLines[index] : item->sourceLine});
            check.AddPiece(static_cast<int>(pieces_.size() - 1), part);
        });
    }
    Report(check.Finish());
    return publicOnesWanted ? check.PublicProcedures() : std::vector<VBProcedure>();
}

std::vector<VBProcedure> CKBCodeCheck::CheckGlobalCode(const CVBProjectBuilder& builder)
{
    const CGlobalCode* globalCode = builder.GlobalCode();
    if (!globalCode)
        return {};
    std::vector<VBProcedure> globals;
    std::string moduleCode;
    if (globalCode->GetModuleCode(moduleCode))
        globals = CheckModule(moduleCode, {globalCodeLine_, &globalCode->ModuleLines()});
    std::vector<std::string> bodies;
    globalCode->GetClassBodies(bodies);
    const std::vector<std::vector<long>>& bodyLines = globalCode->ClassBodyLines();
    for (size_t i = 0; i < bodies.size() && i < bodyLines.size(); ++i)
        CheckModule(bodies[i], {globalCodeLine_, &bodyLines[i]});
    return globals;
}

std::vector<VBProcedure> CKBCodeCheck::CheckModule(std::string_view text, Piece piece)
{
    CVBModuleCheck check;
    pieces_.push_back(piece);
    check.AddPiece(static_cast<int>(pieces_.size() - 1), text);
    Report(check.Finish());
    return check.PublicProcedures();
}

void CKBCodeCheck::Report(const std::vector<VBFinding>& findings)
{
    for (const VBFinding& finding : findings)
        found_.push_back({RuleLine(finding.origin, finding.line), finding.message, finding.column, finding.length});
}

void CKBCodeCheck::FindAmbiguousCalls(const std::vector<const CKBItem*>& items,
                                      const std::vector<VBProcedure>& routines,
                                      const std::vector<VBProcedure>& globals)
{
    // The global code's few names first: most projects share none with the routines, and then
    // the items' calls need no look.
    std::unordered_map<std::string, long> inGlobals;
    for (const VBProcedure& procedure : globals)
        inGlobals.emplace(FoldCase(procedure.name), RuleLine(procedure.origin, procedure.line));
    // Each shared name at the later of its first declarations in the two modules.
    std::unordered_map<std::string, long> shared;
    std::string key;
    for (const VBProcedure& procedure : routines) {
        if (inGlobals.empty())
            break;
        FoldCaseInto(procedure.name, key);
        const auto global = inGlobals.find(key);
        if (global != inGlobals.end() && !shared.contains(key))
            shared.emplace(key, std::max(global->second, RuleLine(procedure.origin, procedure.line)));
    }
    if (shared.empty())
        return;
    for (const CKBItem* item : items) {
        for (const std::string& called : item->CalledRoutines()) {
            FoldCaseInto(called, key);
            const auto found = shared.find(key);
            if (found == shared.end())
                continue;
            found_.push_back({found->second, MessageText(kAmbiguousName, {{"name", called}})});
            // Told once, however many items call it.
            shared.erase(found);
        }
    }
}

void CKBCodeCheck::FindDuplicateArrays(const std::vector<const CKBItem*>& items)
{
    // VB6 tells the declaration that comes second; in the rule file, that is the later element.
    // Each name keeps the earliest line seen, so that every later one is told.
    CVBNameTable earliest;
    std::string key;
    for (const CKBItem* item : items) {
        const std::string name = item->ArrayName();
        if (name.empty())
            continue;
        FoldCaseInto(name, key);
        bool added = false;
        long& line = earliest.Value(key, &added);
        if (added) {
            line = item->sourceLine;
            continue;
        }
        found_.push_back({std::max(line, item->sourceLine), std::string(kDuplicateDeclaration)});
        line = std::min(line, item->sourceLine);
    }
}

long CKBCodeCheck::RuleLine(int origin, int line) const
{
    if (origin < 0 || static_cast<size_t>(origin) >= pieces_.size())
        return 0;
    const Piece& piece = pieces_[static_cast<size_t>(origin)];
    if (!piece.lines)
        return piece.first == 0 ? 0 : piece.first + line - 1;
    // Line n of the text stands n - 1 lines below the line on which the text starts.
    const std::vector<long>& lines = *piece.lines;
    if (line < 1 || lines.empty())
        return 0;
    const long textLine = lines[std::min(static_cast<size_t>(line), lines.size()) - 1];
    return piece.first == 0 ? 0 : piece.first + textLine - 1;
}
