#pragma once

#include <string>
#include <vector>

#include "kbitems/KBItem.h"

// A routine of a class block that the host calls on an object, dispatched by RunMethod with the
// host's arguments in an array.
class CKBMethod : public CKBItem {
public:
    CKBMethod(std::string name, std::string displayname, std::string extratext, std::string code,
              bool interactive, bool secure, bool casefixed, std::vector<std::string> Classlist);

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
    bool interactive;
    bool secure;
    bool casefixed;
    ResultStyle resultstyle;
    std::string code;
    std::vector<std::string> Classlist;

private:
    std::string BranchBody() const;
    std::string RoutineName() const;
};
