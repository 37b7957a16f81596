#include "vbcheck/VBModuleCheck.h"

#include "vbcheck/VBCheckMessages.h"
#include "vbcheck/VBLexer.h"

CVBModuleCheck::CVBModuleCheck() : blocks_(findings_), statements_(blocks_, findings_), types_(findings_) {}

void CVBModuleCheck::AddPiece(int origin, std::string_view text)
{
    const int piece = static_cast<int>(origins_.size());
    origins_.push_back(origin);
    findings_.SetText(text);
    CVBLexer lexer(text);
    CVBLexer::Line line;
    while (lexer.NextLine(tokens_, line)) {
        const bool directive = tokens_.front().kind == VBTokenKind::Directive;
        // VB6 never compiles the branches of an #If not taken: only their # lines count.
        if (!directive && !conditions_.Active())
            continue;
        if (!line.problem.empty())
            findings_.Add(piece, line.problemAt.line, line.problem, findings_.PlaceOf(line.problemAt.text));
        findings_.SetQuiet(!line.problem.empty() || line.unknownCharacter);
        if (directive) {
            Directive(piece);
        } else {
            const bool readThrough = statements_.Line(tokens_, piece) && line.problem.empty() && !line.unknownCharacter;
            types_.Line(tokens_, piece, readThrough, conditions_.InsideIf());
        }
        findings_.SetQuiet(false);
    }
    blocks_.EndPiece();
    findings_.SetText({});
}

void CVBModuleCheck::Directive(int piece)
{
    const std::string_view problem = conditions_.Take(tokens_, piece);
    if (!problem.empty())
        findings_.Add(piece, tokens_.front().line, AsBuildSays(problem, !blocks_.ProcedureSeen()),
                      findings_.PlaceOf(tokens_.front().text));
}

std::vector<VBFinding> CVBModuleCheck::Finish()
{
    blocks_.CloseAll();
    statements_.Finish();
    types_.Finish();
    for (const CVBConditions::OpenIf& open : conditions_.Unclosed())
        findings_.Add(open.piece, open.line, kUnterminatedHashIf);
    return findings_.Sorted(origins_);
}

std::vector<VBProcedure> CVBModuleCheck::PublicProcedures() const
{
    std::vector<VBProcedure> procedures;
    for (const CVBDeclarations::PublicProcedure& procedure : statements_.PublicProcedures())
        procedures.push_back({origins_[procedure.piece], procedure.line, procedure.name});
    return procedures;
}
