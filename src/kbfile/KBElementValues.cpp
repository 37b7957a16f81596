#include "kbfile/KBElementValues.h"

#include <utility>

#include "common/MessageText.h"
#include "kbfile/KBReaderError.h"

namespace {

constexpr std::string_view kNoAttribute = "ITEM_00001 has no attribute 'ITEM_00002'";
constexpr std::string_view kNoChildNode = "ITEM_00001 has no child node";
constexpr std::string_view kNamedElement = "ITEM_00001 'ITEM_00002'";
constexpr std::string_view kInClass = "ITEM_00001 in class 'ITEM_00002'";
constexpr std::string_view kPartOfItem = "ITEM_00001 in ITEM_00002";
constexpr std::string_view kListEntry = "ITEM_00001 entry <ITEM_00002>";

}  // namespace

CKBElementValues::CKBElementValues(const CXmlNode& element, std::string kindWord, std::string className)
    : element_(element), kindWord_(std::move(kindWord)), className_(std::move(className))
{
}

CKBElementValues::CKBElementValues(const CXmlNode& element, std::string kindWord,
                                   const CKBElementValues& container)
    : element_(element), kindWord_(std::move(kindWord)), container_(&container)
{
}

CKBElementValues CKBElementValues::ListEntry(const CXmlNode& entry, std::string listName)
{
    CKBElementValues values(entry, std::move(listName));
    values.listEntry_ = true;
    return values;
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
    if (listEntry_)
        return MessageText(kListEntry, {kindWord_, element_.Name()});
    if (container_)
        return MessageText(kPartOfItem, {kindWord_, container_->Description()});
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
