#include "kbfile/KBElementValues.h"

#include <utility>

#include "common/MessageText.h"
#include "kbfile/KBReaderError.h"

namespace {

constexpr std::string_view kNoAttribute = "ITEM_00001 has no attribute 'ITEM_00002'";
constexpr std::string_view kNoChildNode = "ITEM_00001 has no child node";
constexpr std::string_view kNamedElement = "ITEM_00001 'ITEM_00002'";
constexpr std::string_view kInClass = "ITEM_00001 in class 'ITEM_00002'";

}  // namespace

CKBElementValues::CKBElementValues(const CXmlNode& element, std::string kindWord, std::string className)
    : element_(element), kindWord_(std::move(kindWord)), className_(std::move(className))
{
}

std::string CKBElementValues::Name()
{
    name_ = Attribute("name");
    hasName_ = true;
    return name_;
}

std::string CKBElementValues::Attribute(std::string_view attributeName) const
{
    std::string value;
    if (!element_.GetAttribute(attributeName, value))
        Raise(kNoAttribute, attributeName);
    return value;
}

bool CKBElementValues::Flag(std::string_view attributeName) const
{
    return Attribute(attributeName) == "true";
}

CXmlNode CKBElementValues::FirstChild() const
{
    std::optional<CXmlNode> first = element_.FirstChild();
    if (!first)
        Raise(kNoChildNode);
    return *first;
}

std::string CKBElementValues::FirstChildText() const
{
    return FirstChild().Text();
}

std::string CKBElementValues::Description() const
{
    std::string description = kindWord_;
    if (hasName_)
        description = MessageText(kNamedElement, {description, name_});
    if (!className_.empty())
        description = MessageText(kInClass, {description, className_});
    return description;
}

void CKBElementValues::Raise(std::string_view reasonTemplate, std::string_view detail) const
{
    throw CKBReaderError(CKBReaderError::kInvalidPointer, MessageText(reasonTemplate, {Description(), detail}),
                         element_.Line());
}
