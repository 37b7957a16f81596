#pragma once

#include <string>
#include <vector>

#include "kbitems/KBItem.h"

// A Demon watches objects of its classes through two routines: a pattern routine, dispatched by
// RunDemonPattern, and an action routine, dispatched by RunDemonAction with the host's arguments.
class CKBDemon : public CKBItem {
public:
    CKBDemon(std::string name, std::vector<std::string> Classlist, bool extraflag, bool casefixed,
             std::string PatternCode, std::string ActionCode);

    void GenerateRegisterCode(int itemId, CGrowingText& registerText) override;
    void GenerateComEntryCode(CGrowingText& handlerText, std::string_view branchMarker,
                              int itemId) override;
    void GenerateImplementCode(std::string& outputText) override;
    void FindCodeFaults(std::vector<std::string>& faults) const override;
    void RoutineParts(const PartTaker& take) const override;
    std::vector<std::string> CalledRoutines() const override;
    std::string ArrayName() const override;

    std::string name;
    std::vector<std::string> Classlist;
    bool extraflag;
    bool casefixed;
    std::string PatternCode;
    std::string ActionCode;

    // The RunDemonPattern and RunDemonAction procedures under construction. Both stay open from the
    // first Demon to the last of a build, since the handler text must get one whole procedure
    // before the other; closing the kind hands them over and empties them.
    inline static CGrowingText patternText;
    inline static CGrowingText actionText;

private:
    void CloseDispatch(CGrowingText& handlerText);
    std::string PatternRoutineAsWritten() const;
    std::string ActionRoutineAsWritten() const;
    std::string InProject(const std::string& routineAsWritten) const;
};
