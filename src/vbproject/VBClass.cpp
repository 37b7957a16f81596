#include "vbproject/VBClass.h"

#include <string_view>
#include <utility>

#include "platform/FileSystem.h"
#include "vbproject/VBFileTexts.h"

namespace {
constexpr std::string_view kExtension = ".cls";
}

CVBClass::CVBClass(std::string name, CTextEncoder* encoder) : CVBItem(std::move(name), encoder) {}

bool CVBClass::Create(const std::string& folder)
{
    std::string header;
    CVBFileTexts::GetClassHeader(GetName(), header);
    return OpenWithHeader(CFileSystem::JoinPath(folder, GetName() + std::string(kExtension)), header);
}
