#pragma once

#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

#include "kbfile/KBElementValues.h"
#include "kbfile/KBReader.h"
#include "xml/XmlNode.h"

class CGlobalCode;
class CKBItem;

// What the reader notices in a rule file that converts but would be lost, or would keep the
// generated project from compiling. Each check adds warnings with the rule file's line; none
// changes what is read or written. Descriptions name an element as reasons do: "Rule 'R1'".
class CKBWarnings {
public:
    // A Method or Event among the root's children: only a Classblock's are read.
    void OutsideClassblock(const CXmlNode& element);
    // An element that is none of knownNames, among the children of the root (container empty) or
    // of container ("Classblock 'Pump'").
    void UnknownElement(const CXmlNode& element, std::string_view container,
                        std::initializer_list<std::string_view> knownNames);
    // The child nodes after the first of an element whose first child node alone is read.
    void UnreadAfterFirst(const CKBElementValues& element);
    // A child node whose text a later child node replaces as the item's code.
    void ReplacedCode(const CXmlNode& replaced, const CXmlNode& replacing,
                      std::string_view description);
    // An element named name on line whose text a later one on laterLine replaces.
    void ReplacedElement(std::string_view name, long line, long laterLine);
    // A value that goes into VB between double quotes.
    void QuotedValue(std::string_view value, std::string_view attributeName,
                     std::string_view description, long line);
    // The same for an attribute of element.
    void QuotedValue(std::string_view value, std::string_view attributeName,
                     const CKBElementValues& element);
    // What the item, read from element, finds wrong with its own routines.
    void ItemCode(const CKBItem& item, const CKBElementValues& element);
    // Splits globalCode and looks at its classes and at what the split drops. firstLine: the rule
    // file's line on which the text starts.
    void GlobalCode(const CGlobalCode& globalCode, long firstLine);

    // A compile error that VB6 would report, in its words, at the rule file's line and columns.
    void VBCompileError(const CKBWarning& finding);
    // The module's name, which names the VB project, on the root element's line.
    void ModuleName(std::string_view name, long line);

    // Sorted by line, as a person reads the file; warnings of one line keep their order.
    std::vector<CKBWarning> InLineOrder() const;

private:
    void Add(long line, std::string text);

    std::vector<CKBWarning> warnings_;
};
