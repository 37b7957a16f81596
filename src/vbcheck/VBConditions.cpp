#include "vbcheck/VBConditions.h"

#include "common/FoldCase.h"
#include "vbcheck/VBCheckMessages.h"
#include "vbcheck/VBConditionEvaluator.h"

long long CVBConditions::Evaluate(const std::vector<VBToken>& tokens, size_t from) const
{
    return CVBConditionEvaluator(tokens, from, constants_).Value();
}

void CVBConditions::SetConstant(std::string_view name, long long value)
{
    constants_[FoldCase(name)] = value;
}

void CVBConditions::Enter(bool taken, int piece, int line)
{
    const bool parentActive = Active();
    levels_.push_back({{piece, line}, parentActive, parentActive && taken, taken});
    if (!levels_.back().taken)
        ++inactiveDepth_;
}

void CVBConditions::Switch(bool condition, bool isElse)
{
    Level& level = levels_.back();
    const bool wasTaken = level.taken;
    level.taken = level.parentActive && !level.anyTaken && (isElse || condition);
    level.anyTaken = level.anyTaken || level.taken;
    if (wasTaken && !level.taken)
        ++inactiveDepth_;
    else if (!wasTaken && level.taken)
        --inactiveDepth_;
}

std::string_view CVBConditions::Take(const std::vector<VBToken>& tokens, int piece)
{
    const VBToken& directive = tokens.front();
    switch (directive.Word()) {
    case VBWord::If:
        Enter(Active() && Evaluate(tokens, 1) != 0, piece, directive.line);
        return {};
    case VBWord::ElseIf:
        if (!levels_.empty())
            Switch(levels_.back().parentActive && Evaluate(tokens, 1) != 0, false);
        return {};
    case VBWord::Else:
        // A second #Else matches no #If either; the branches stay as they were.
        if (levels_.empty() || levels_.back().elseSeen)
            return Active() ? kHashElseWithoutIf : std::string_view{};
        levels_.back().elseSeen = true;
        Switch(false, true);
        return {};
    case VBWord::End:
    case VBWord::EndIf:
        if (directive.Word() == VBWord::End && tokens[1].Word() != VBWord::If)
            return {};
        if (levels_.empty())
            return kHashEndIfWithoutIf;
        Leave();
        return {};
    case VBWord::Const:
        return Define(tokens);
    default:
        // #Region and other words of VB.NET.
        return Active() ? kExpectedDirective : std::string_view{};
    }
}

void CVBConditions::Leave()
{
    if (!levels_.back().taken)
        --inactiveDepth_;
    levels_.pop_back();
}

std::string_view CVBConditions::Define(const std::vector<VBToken>& tokens)
{
    if (!Active() || tokens[1].kind != VBTokenKind::Word || tokens[2].Symbol() != VBSymbol::Equals)
        return {};
    std::string name = FoldCase(tokens[1].text);
    constants_[name] = Evaluate(tokens, 3);
    return defined_.insert(std::move(name)).second ? std::string_view{} : kDuplicateDefinition;
}

std::vector<CVBConditions::OpenIf> CVBConditions::Unclosed() const
{
    std::vector<OpenIf> unclosed;
    for (const Level& level : levels_)
        unclosed.push_back(level.start);
    return unclosed;
}
