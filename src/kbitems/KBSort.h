#pragma once

#include <string>
#include <vector>

#include "kbitems/KBItem.h"

// The sort values of an object: the routine fills the slots of an array named after the Sort, and
// GetSortValues hands that array back. The registrar gets the comparison operators in an array of
// the same name.
class CKBSort : public CKBItem {
public:
    CKBSort(std::string name, std::string displayname, std::string extratext, std::string code,
            std::vector<std::string> KeyList);

    void GenerateRegisterCode(int itemId, CGrowingText& registerText) override;
    void GenerateComEntryCode(CGrowingText& handlerText, std::string_view branchMarker,
                              int itemId) override;
    void GenerateImplementCode(std::string& outputText) override;
    void FindCodeFaults(std::vector<std::string>& faults) const override;
    void RoutineParts(const PartTaker& take) const override;
    std::vector<std::string> CalledRoutines() const override;
    std::string ArrayName() const override;

    std::string name;
    std::string displayname;
    std::string extratext;
    std::string code;
    std::vector<std::string> KeyList;
};
