#include "vbcheck/VBConditions.h"

#include "common/FoldCase.h"
#include "vbcheck/VBCheckMessages.h"
#include "vbcheck/VBConditionEvaluator.h"

namespace {

bool IsWord(const VBToken& token, std::string_view word)
{
    return (token.kind == VBTokenKind::Word || token.kind == VBTokenKind::Directive) && !token.escaped &&
           EqualIgnoringCase(token.text, word);
}

}  // namespace

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
    if (IsWord(directive, "If")) {
        Enter(Active() && Evaluate(tokens, 1) != 0, piece, directive.line);
    } else if (IsWord(directive, "ElseIf") && !levels_.empty()) {
        Switch(levels_.back().parentActive && Evaluate(tokens, 1) != 0, false);
    } else if (IsWord(directive, "Else")) {
        // A second #Else matches no #If either; the branches stay as they were.
        if (levels_.empty() || levels_.back().elseSeen)
            return Active() ? kHashElseWithoutIf : std::string_view{};
        levels_.back().elseSeen = true;
        Switch(false, true);
    } else if ((IsWord(directive, "End") && IsWord(tokens[1], "If")) || IsWord(directive, "EndIf")) {
        if (levels_.empty())
            return kHashEndIfWithoutIf;
        if (!levels_.back().taken)
            --inactiveDepth_;
        levels_.pop_back();
    } else if (IsWord(directive, "Const")) {
        return Define(tokens);
    } else if (Active() && !IsWord(directive, "If") && !IsWord(directive, "ElseIf") && !IsWord(directive, "Else") &&
               !IsWord(directive, "End") && !IsWord(directive, "EndIf")) {
        // #Region and other words of VB.NET.
        return kExpectedDirective;
    }
    return {};
}

std::string_view CVBConditions::Define(const std::vector<VBToken>& tokens)
{
    if (!Active() || tokens[1].kind != VBTokenKind::Word || tokens[2].kind != VBTokenKind::Symbol ||
        tokens[2].text != "=")
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
