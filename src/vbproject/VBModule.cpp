#include "vbproject/VBModule.h"

#include <string_view>
#include <utility>

#include "platform/FileSystem.h"
#include "vbproject/VBFileTexts.h"

namespace {
constexpr std::string_view kExtension = ".bas";
}

CVBModule::CVBModule(std::string name, CTextEncoder* encoder) : CVBItem(std::move(name), encoder) {}

bool CVBModule::Create(const std::string& folder)
{
    std::string header;
    CVBFileTexts::GetModuleHeader(GetName(), header);
    return OpenWithHeader(CFileSystem::JoinPath(folder, GetName() + std::string(kExtension)), header);
}
