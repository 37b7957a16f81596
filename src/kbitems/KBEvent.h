#pragma once

#include <string>
#include <vector>

#include "kbitems/KBItem.h"

// An event sink of a class block, dispatched by NotifyEventSink. Its name is also the suffix of
// the host's system-event enumerator.
class CKBEvent : public CKBItem {
public:
    CKBEvent(std::string name, std::vector<std::string> Classlist, bool extraflag, std::string code);

    // Same name and first class: the later Event replaces the earlier one in the builder.
    bool IsSameItem(const CKBItem& other) const override;
    void GenerateRegisterCode(int itemId, CGrowingText& registerText) override;
    void GenerateComEntryCode(CGrowingText& handlerText, std::string_view branchMarker,
                              int itemId) override;
    void GenerateImplementCode(std::string& outputText) override;
    void FindCodeFaults(std::vector<std::string>& faults) const override;
    void RoutineParts(const PartTaker& take) const override;
    std::vector<std::string> CalledRoutines() const override;
    std::string ArrayName() const override;
    // The joined name and first class that IsSameItem compares.
    std::string ReplacementKey() const override;

    std::string name;
    std::vector<std::string> Classlist;
    bool extraflag;
    std::string code;

private:
    std::string RoutineName() const;
};
