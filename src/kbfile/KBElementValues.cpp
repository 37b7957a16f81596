#include "kbfile/KBElementValues.h"

#include <utility>

#include "common/MessageText.h"
#include "kbfile/KBReaderError.h"

namespace {

constexpr std::string_view kNoAttribute = "{element} has no attribute '{attribute}'";
constexpr std::string_view kNoChildNode = "{element} has no child node";
constexpr std::string_view kNamedElement = "{element} '{name}'";
constexpr std::string_view kInClass = "{element} in class '{class}'";
constexpr std::string_view kPartOfItem = "{part} in {item}";
constexpr std::string_view kListEntry = "{list} entry <{entry}>";

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
        return MessageText(kListEntry, {{"list", kindWord_}, {"entry", element_.Name()}});
    if (container_)
        return MessageText(kPartOfItem, {{"part", kindWord_}, {"item", container_->Description()}});
    std::string description = kindWord_;
    if (hasName_)
        description = MessageText(kNamedElement, {{"element", description}, {"name", name_}});
    if (!className_.empty())
        description = MessageText(kInClass, {{"element", description}, {"class", className_}});
    return description;
}

void CKBElementValues::Raise(std::string_view reasonTemplate, std::string_view detail) const
{
    throw CKBReaderError(CKBReaderError::kInvalidPointer, MessageText(reasonTemplate, {{"element", Description()}, {"attribute", detail}}),
                         element_.Line());
}
