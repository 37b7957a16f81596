#pragma once

#include <string>
#include <vector>

#include "kbitems/KBItem.h"

// A boolean test on an object, dispatched by FilterObject. A Filter without code accepts every
// object and has no routine of its own.
class CKBFilter : public CKBItem {
public:
    CKBFilter(std::string name, std::string displayname, std::string extratext, std::string code,
              std::vector<std::string> Classlist);

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
    bool nocode;
    std::vector<std::string> Classlist;
};
