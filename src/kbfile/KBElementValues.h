#pragma once

#include <string>
#include <string_view>

#include "xml/XmlNode.h"

// The values that an element of the rule file must have. A missing one raises the reader error,
// whose reason names the element the way a person finds it in the file: "Method 'Calc' in class
// 'Pump' has no attribute 'secure'", with the element's line.
class CKBElementValues {
public:
    // kindWord names the element ("Method", "GlobalCode", "PatternCode in Demon 'D1'"); className
    // is the enclosing Classblock's name, empty outside one.
    CKBElementValues(const CXmlNode& element, std::string kindWord, std::string className = {});
    // A part of an item ("PatternCode in Demon 'D1'"): kindWord names the part, container the item.
    CKBElementValues(const CXmlNode& element, std::string kindWord, const CKBElementValues& container);
    // An entry of a list element ("Classlist entry <C>").
    static CKBElementValues ListEntry(const CXmlNode& entry, std::string listName);

    // The attribute `name`; from then on messages name the element by it.
    std::string Name();
    std::string Attribute(std::string_view attributeName) const;
    // True exactly when the attribute's value is "true", case-sensitively.
    bool Flag(std::string_view attributeName) const;
    // The element's first child node, and its text.
    CXmlNode FirstChild() const;
    std::string FirstChildText() const;

    // "Method 'Calc' in class 'Pump'". Made when asked for: most elements never need it.
    std::string Description() const;
    const CXmlNode& Element() const { return element_; }
    long Line() const { return element_.Line(); }
    // The reader error at this element, the reason filled with {element}, this description, and
    // {attribute}, detail.
    [[noreturn]] void Raise(std::string_view reasonTemplate, std::string_view detail = {}) const;

private:
    CXmlNode element_;
    std::string kindWord_;
    std::string className_;
    std::string name_;
    bool hasName_ = false;
    const CKBElementValues* container_ = nullptr;
    bool listEntry_ = false;
};
