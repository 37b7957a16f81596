#include "vbproject/VBFileTexts.h"

#include <optional>
#include <string_view>

#include "common/Placeholder.h"
#include "platform/TypeLibraryLookup.h"

namespace {

// Head of a class file. ITEM_00001: the class name, quoted.
constexpr std::string_view kClassHeader =
    "VERSION 1.0 CLASS\n"
    "BEGIN\n"
    "  MultiUse = -1  'True\n"
    "  Persistable = 0  'NotPersistable\n"
    "  DataBindingBehavior = 0  'vbNone\n"
    "  DataSourceBehavior  = 0  'vbNone\n"
    "  MTSTransactionMode  = 0  'NotAnMTSObject\n"
    "END\n"
    "Attribute VB_Name = \"ITEM_00001\"\n"
    "Attribute VB_GlobalNameSpace = False\n"
    "Attribute VB_Creatable = True\n"
    "Attribute VB_PredeclaredId = False\n"
    "Attribute VB_Exposed = True\n";

// Head of a standard module file. ITEM_00001: the module name, bare.
constexpr std::string_view kModuleHeader =
    "Attribute VB_Name = ITEM_00001\n";

// Head of the project file. ITEM_00001: path of the host's type library; ITEM_00002: project name.
constexpr std::string_view kProjectHeader =
    "Type=OleDll\n"
    "Reference=*\\G{38000000-F1C5-412B-B40F-DBFCAEFAAFB6}#97.0#0#ITEM_00001#DUZIVozoz Version 38.0\n"
    "Startup=\"(None)\"\n"
    "Command32=\"\"\n"
    "Name=ITEM_00002\n"
    "HelpContextID=\"0\"\n"
    "CompatibleMode=\"0\"\n"
    "MajorVer=1\n"
    "MinorVer=0\n"
    "RevisionVer=0\n"
    "AutoIncrementVer=0\n"
    "ServerSupportFiles=0\n"
    "VersionCompanyName=\"software\"\n"
    "CompilationType=0\n"
    "OptimizationType=0\n"
    "FavorPentiumPro(tm)=0\n"
    "CodeViewDebugInfo=0\n"
    "NoAliasing=0\n"
    "BoundsCheck=0\n"
    "OverflowCheck=0\n"
    "FlPointCheck=0\n"
    "FDIVCheck=0\n"
    "UnroundedFP=0\n"
    "StartMode=1\n"
    "Unattended=0\n"
    "Retained=0\n"
    "ThreadPerObject=0\n"
    "MaxNumberOfThreads=1\n"
    "ThreadingModel=1\n";

// Project-file line listing one class file. ITEM_00001: the class name.
constexpr std::string_view kClassEntry =
    "Class=ITEM_00001; ITEM_00001.cls\n";

// Project-file line listing one module file. ITEM_00001: the module name.
constexpr std::string_view kModuleEntry =
    "Module=ITEM_00001; ITEM_00001.bas\n";

void FillTemplate(std::string_view templateText, const std::string& name, std::string& out)
{
    out = templateText;
    FillPlaceholder(out, "ITEM_00001", name);
}

} // namespace

void CVBFileTexts::GetClassHeader(const std::string& name, std::string& out)
{
    FillTemplate(kClassHeader, name, out);
}

void CVBFileTexts::GetModuleHeader(const std::string& name, std::string& out)
{
    FillTemplate(kModuleHeader, name, out);
}

void CVBFileTexts::GetProjectHeader(const std::string& name, std::string& out)
{
    out = kProjectHeader;
    FillPlaceholder(out, "ITEM_00002", name);
    // Without a registered library the reference keeps its token, for the user to see and mend.
    if (std::optional<std::string> libraryPath = CTypeLibraryLookup::FindHostTypeLibrary())
        FillPlaceholder(out, "ITEM_00001", *libraryPath);
}

void CVBFileTexts::GetClassEntry(const std::string& name, std::string& out)
{
    FillTemplate(kClassEntry, name, out);
}

void CVBFileTexts::GetModuleEntry(const std::string& name, std::string& out)
{
    FillTemplate(kModuleEntry, name, out);
}
