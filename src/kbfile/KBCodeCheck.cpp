#include "kbfile/KBCodeCheck.h"

#include <algorithm>
#include <map>
#include <system_error>
#include <unordered_set>
#include <utility>

#include "common/FoldCase.h"
#include "common/MessageText.h"
#include "kbfile/KBWarnings.h"
#include "kbitems/KBItem.h"
#include "vbcheck/VBCheckMessages.h"
#include "vbcheck/VBModuleCheck.h"
#include "vbproject/GlobalCode.h"
#include "vbproject/VBProjectBuilder.h"

CKBCodeCheck::~CKBCodeCheck()
{
    if (thread_.joinable())
        thread_.join();
}

void CKBCodeCheck::AddItem(const CKBItem* item, long elementLine, std::vector<long> partLines)
{
    // A replaced item's address may come back for a later one: the later lines count.
    itemLines_[item] = {elementLine, std::move(partLines)};
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
        thread_ = std::thread(run);
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
        warnings.VBCompileError(finding.line, finding.text);
    found_.clear();
}

void CKBCodeCheck::Run(const CVBProjectBuilder& builder)
{
    const std::vector<const CKBItem*> items = builder.ItemsInOrder();
    const std::vector<VBProcedure> routines = CheckRoutines(items);
    const std::vector<VBProcedure> globals = CheckGlobalCode(builder);
    FindAmbiguousCalls(items, routines, globals);
    FindDuplicateArrays(items);
}

std::vector<VBProcedure> CKBCodeCheck::CheckRoutines(const std::vector<const CKBItem*>& items)
{
    CVBModuleCheck check;
    for (const CKBItem* item : items) {
        const ItemLines& lines = LinesOf(item);
        const std::vector<std::string> parts = item->RoutineParts();
        for (size_t i = 0; i < parts.size(); ++i) {
            pieces_.push_back({i < lines.parts.size() ? lines.parts[i] : lines.element});
            check.AddPiece(static_cast<int>(pieces_.size() - 1), parts[i]);
        }
    }
    Report(check.Finish());
    return check.PublicProcedures();
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
        found_.push_back({RuleLine(finding.origin, finding.line), finding.message});
}

void CKBCodeCheck::FindAmbiguousCalls(const std::vector<const CKBItem*>& items,
                                      const std::vector<VBProcedure>& routines,
                                      const std::vector<VBProcedure>& globals)
{
    if (globals.empty())
        return;
    // Each name where its first declaration in each module stands in the rule file.
    const auto lines = [this](const std::vector<VBProcedure>& procedures) {
        std::unordered_map<std::string, long> byName;
        for (const VBProcedure& procedure : procedures)
            byName.emplace(FoldCase(procedure.name), RuleLine(procedure.origin, procedure.line));
        return byName;
    };
    const std::unordered_map<std::string, long> inRoutines = lines(routines);
    const std::unordered_map<std::string, long> inGlobals = lines(globals);
    std::unordered_set<std::string> told;
    for (const CKBItem* item : items) {
        for (const std::string& called : item->CalledRoutines()) {
            const std::string key = FoldCase(called);
            const auto routine = inRoutines.find(key);
            const auto global = inGlobals.find(key);
            if (routine == inRoutines.end() || global == inGlobals.end() || !told.insert(key).second)
                continue;
            found_.push_back({std::max(routine->second, global->second), MessageText(kAmbiguousName, {called})});
        }
    }
}

void CKBCodeCheck::FindDuplicateArrays(const std::vector<const CKBItem*>& items)
{
    std::map<std::string, std::vector<long>> elementLines;
    for (const CKBItem* item : items) {
        const std::string name = item->ArrayName();
        if (!name.empty())
            elementLines[FoldCase(name)].push_back(LinesOf(item).element);
    }
    // VB6 tells the declaration that comes second; in the rule file, that is the later element.
    for (auto& [name, lines] : elementLines) {
        std::sort(lines.begin(), lines.end());
        for (size_t i = 1; i < lines.size(); ++i)
            found_.push_back({lines[i], std::string(kDuplicateDeclaration)});
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

const CKBCodeCheck::ItemLines& CKBCodeCheck::LinesOf(const CKBItem* item) const
{
    const auto found = itemLines_.find(item);
    return found == itemLines_.end() ? unknownLines_ : found->second;
}
