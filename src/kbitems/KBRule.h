#pragma once

#include <string>
#include <vector>

#include "kbitems/KBItem.h"

// A free routine, dispatched by RunRule with the host's arguments in an array and no object.
class CKBRule : public CKBItem {
public:
    CKBRule(std::string name, std::string displayname, std::string extratext, std::string code,
            bool interactive, bool secure, bool casefixed);

    void GenerateRegisterCode(int itemId, CGrowingText& registerText) override;
    void GenerateComEntryCode(CGrowingText& handlerText, std::string_view branchMarker,
                              int itemId) override;
    void GenerateImplementCode(std::string& outputText) override;
    void FindCodeFaults(std::vector<std::string>& faults) const override;
    void RoutineParts(const PartTaker& take) const override;
    std::vector<std::string> CalledRoutines() const override;

    std::string name;
    std::string displayname;
    std::string extratext;
    bool interactive;
    bool secure;
    bool casefixed;
    std::string code;
    ResultStyle resultstyle;

private:
    std::string BranchBody() const;
};
