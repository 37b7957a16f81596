#include "kbfile/KBElementValues.h"

#include <utility>

#include "common/Placeholder.h"
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
    if (hasName_) {
        std::string named(kNamedElement);
        FillPlaceholder(named, "ITEM_00001", description);
        FillPlaceholder(named, "ITEM_00002", name_);
        description = named;
    }
    if (!className_.empty()) {
        std::string inClass(kInClass);
        FillPlaceholder(inClass, "ITEM_00001", description);
        FillPlaceholder(inClass, "ITEM_00002", className_);
        description = inClass;
    }
    return description;
}

void CKBElementValues::Raise(std::string_view reasonTemplate, std::string_view detail) const
{
    std::string reason(reasonTemplate);
    FillPlaceholder(reason, "ITEM_00001", Description());
    FillPlaceholder(reason, "ITEM_00002", detail);
    throw CKBReaderError(CKBReaderError::kInvalidPointer, reason, element_.Line());
}
