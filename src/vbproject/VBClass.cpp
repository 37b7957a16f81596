#include "vbproject/VBClass.h"

#include <string_view>
#include <utility>

#include "kbitems/VBUtility.h"
#include "platform/FileSystem.h"

namespace {
constexpr std::string_view kExtension = ".cls";
}

CVBClass::CVBClass(std::string name, CTextEncoder* encoder) : CVBItem(std::move(name), encoder) {}

bool CVBClass::Create(const std::string& folder)
{
    std::string header;
    CVBUtility::GetClassHeader(GetName(), header);
    return OpenWithHeader(CFileSystem::JoinPath(folder, GetName() + std::string(kExtension)), header);
}
