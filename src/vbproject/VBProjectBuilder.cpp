#include "vbproject/VBProjectBuilder.h"

#include <string_view>
#include <utility>

#include "common/MessageText.h"
#include "common/Placeholder.h"
#include "kbitems/VBUtility.h"
#include "log/Log.h"
#include "platform/FileSystem.h"
#include "vbproject/VBClass.h"
#include "vbproject/SafeName.h"
#include "vbproject/VBModule.h"

namespace {

// The procedures of the host's interface that no KB item serves, written after the class header.
constexpr std::string_view kServiceFrame =
    "Implements DUZIVozoz.PXQDataService\n"
    "\n"
    "Private Sub PXQDataService_AbortRequest(ByVal MessageHeader As String, ByVal MessageBody As String, ByVal Request As DUZIVozoz.IPXQRequest, ByVal FailMessage As String)\n"
    "\n"
    "End Sub\n"
    "\n"
    "Private Function PXQDataService_GetObjectService(ByVal iServiceID As Long, ByVal ServiceName As String, ByVal Obj As DUZIVozoz.IPXQObject, ByVal Globals As DUZIVozoz.IPXQGlobals) As Object\n"
    "\n"
    "End Function\n"
    "\n"
    "Private Sub PXQDataService_OnEndTransaction()\n"
    "\n"
    "End Sub\n"
    "\n"
    "Private Sub PXQDataService_OnJoinTransaction(ByVal Globals As DUZIVozoz.IPXQGlobals)\n"
    "\n"
    "End Sub\n"
    "\n"
    "Private Sub PXQDataService_ProcessRequest(ByVal MessageHeader As String, ByVal MessageBody As String, ByVal Request As DUZIVozoz.IPXQRequest)\n"
    "\n"
    "End Sub\n"
    "\n"
    "Private Sub PXQDataService_ProcessTrigger(ByVal pTrigger As DUZIVozoz.IPXQTrigger, ByVal Globals As DUZIVozoz.IPXQGlobals)\n"
    "\n"
    "End Sub\n"
    "\n";

// ITEM_00001: the project name.
constexpr std::string_view kRegisterHead =
    "Private Sub PXQDataService_Register(ByVal Registrar As DUZIVozoz.IPXQDataServiceRegistrar)\n"
    "  Registrar.SetServiceName (\"ITEM_00001\")\n"
    "\n";

constexpr std::string_view kRegisterClosing =
    "End Sub\n"
    "\n";

constexpr std::string_view kGlobalDeclarations =
    "'define global variables\n"
    "Public Server As PXQGlobals\n"
    "Public ClassStore As PXQClassStore\n"
    "Public ObjectStore As PXQObjectStore\n";

// Size from which the routine text written so far goes to the file.
constexpr size_t kRoutineSlice = size_t{1} << 20;

constexpr std::string_view kUnsafeModuleName = "unsafe module name 'ITEM_00001': ITEM_00002";
constexpr std::string_view kUnsafeClassName = "unsafe class name 'ITEM_00001': ITEM_00002";
// The longest name each kind of name goes into: the project folder's is shorter than the .vbp's.
constexpr std::string_view kProjectExtension = ".vbp";
constexpr std::string_view kClassExtension = ".cls";

}  // namespace

CVBProjectBuilder::CVBProjectBuilder(std::string targetFolder, CTextEncoder* encoder)
    : encoder_(encoder), targetFolder_(std::move(targetFolder)), log_(CLog::Instance())
{
}

CVBProjectBuilder::~CVBProjectBuilder() = default;

void CVBProjectBuilder::SetModule(std::unique_ptr<CKBModule> module)
{
    module_ = std::move(module);
}

void CVBProjectBuilder::SetGlobalCode(std::unique_ptr<CGlobalCode> globalCode)
{
    globalCode_ = std::move(globalCode);
}

void CVBProjectBuilder::AddDemon(std::unique_ptr<CKBItem> item) { AddItem(kDemon, std::move(item)); }
void CVBProjectBuilder::AddEvent(std::unique_ptr<CKBItem> item) { AddItem(kEvent, std::move(item)); }
void CVBProjectBuilder::AddFilter(std::unique_ptr<CKBItem> item) { AddItem(kFilter, std::move(item)); }
void CVBProjectBuilder::AddMethod(std::unique_ptr<CKBItem> item) { AddItem(kMethod, std::move(item)); }
void CVBProjectBuilder::AddRule(std::unique_ptr<CKBItem> item) { AddItem(kRule, std::move(item)); }
void CVBProjectBuilder::AddSort(std::unique_ptr<CKBItem> item) { AddItem(kSort, std::move(item)); }

void CVBProjectBuilder::AddItem(Kind kind, std::unique_ptr<CKBItem> item)
{
    // The replacing item does not take the old one's place: it goes to the end of the list.
    std::vector<std::unique_ptr<CKBItem>>& list = items_[kind];
    const std::string key = item->ReplacementKey();
    // Walking the list is needed only when an earlier item has the same key; a large rule file
    // would otherwise cost a walk per item.
    if (!key.empty() && !replacementKeys_[kind].insert(key).second) {
        for (auto it = list.rbegin(); it != list.rend(); ++it) {
            if ((*it)->IsSameItem(*item)) {
                list.erase(std::next(it).base());
                break;
            }
        }
    }
    list.push_back(std::move(item));
}

bool CVBProjectBuilder::Fail(const std::string& reason)
{
    if (failureReason_.empty())
        failureReason_ = reason;
    return false;
}

bool CVBProjectBuilder::Build()
{
    failureReason_.clear();
    if (globalCode_)
        globalCode_->Split();
    if (!HasSafeNames() || !WriteProjectFile())
        return false;
    bool written = WriteServiceClass();
    written = WriteModules() && written;
    // Each file takes its place once it is whole; the project file, which lists the others,
    // comes last.
    const bool projectWritten = project_->Complete() || Fail(project_->ErrorText());
    return projectWritten && written;
}

bool CVBProjectBuilder::HasSafeNames()
{
    // The module name becomes a folder under the target, and each class name a file in it:
    // neither may lead anywhere else, nor be a name that Windows refuses or reads otherwise.
    const std::string& name = module_ ? module_->name : std::string();
    if (std::string problem = CSafeName::Problem(name, kProjectExtension); !problem.empty())
        return Fail(MessageText(kUnsafeModuleName, {name, problem}));
    std::vector<std::string> classNames;
    if (globalCode_ && globalCode_->GetClassNames(classNames)) {
        for (const std::string& className : classNames)
            if (std::string problem = CSafeName::Problem(className, kClassExtension); !problem.empty())
                return Fail(MessageText(kUnsafeClassName, {className, problem}));
    }
    return true;
}

bool CVBProjectBuilder::WriteProjectFile()
{
    project_ = std::make_unique<CVBProject>(module_->name, encoder_);
    if (!project_->Create(targetFolder_))
        return Fail(project_->ErrorText());
    return true;
}

std::string CVBProjectBuilder::ProjectFolder() const
{
    return CFileSystem::JoinPath(targetFolder_, project_->GetName());
}

bool CVBProjectBuilder::AppendEntry(const std::string& entry)
{
    return project_->WriteText(entry) || Fail(project_->ErrorText());
}

bool CVBProjectBuilder::WriteGlobalCodeClasses(const std::string& projectFolder)
{
    std::vector<std::string> names, bodies;
    if (!globalCode_ || !globalCode_->GetClassNames(names))
        return true;
    globalCode_->GetClassBodies(bodies);
    bool written = true;
    for (size_t i = 0; i < bodies.size(); ++i) {
        CVBClass file(names[i], encoder_);
        if (!file.Create(projectFolder) || !file.WriteText(bodies[i]) || !file.Complete())
            written = Fail(file.ErrorText());
        std::string entry;
        CVBUtility::GetClassEntry(names[i], entry);
        written = AppendEntry(entry) && written;
    }
    log_->LogWriteFile("GlobalCode", ".cls", written);
    return written;
}

bool CVBProjectBuilder::WriteServiceClass()
{
    std::string projectFolder = ProjectFolder();
    bool written = WriteGlobalCodeClasses(projectFolder);

    CVBClass service("DataServiceImpl", encoder_);
    bool serviceWritten = service.Create(projectFolder) && service.WriteText(kServiceFrame);

    CGrowingText registerText{std::string(kRegisterHead)};
    FillPlaceholder(registerText, "ITEM_00001", project_->GetName());
    CGrowingText handlerText;
    for (auto& list : items_) {
        for (size_t i = 0; i < list.size(); ++i) {
            int itemId = static_cast<int>(i) + 1;
            list[i]->GenerateRegisterCode(itemId, registerText);
            list[i]->GenerateComEntryCode(handlerText, i == 0 ? CKBItem::kFirstBranch : CKBItem::kFurtherBranch,
                                          itemId);
            if (i + 1 == list.size())
                list[i]->GenerateComEntryCode(handlerText, CKBItem::kEndBranch, itemId);
        }
    }
    std::string stubs;
    log_->AppendHandlerStubs(stubs);
    registerText += kRegisterClosing;
    // The register text is written before its log line so that the line can tell whether the
    // whole class reached the disk.
    serviceWritten = serviceWritten && service.WriteText(handlerText.Text()) &&
                     service.WriteText(stubs) && service.WriteText(registerText.Text()) &&
                     service.Complete();
    if (!serviceWritten)
        Fail(service.ErrorText());
    log_->LogWriteFile("KB Item", ".cls", serviceWritten);

    std::string entry;
    CVBUtility::GetClassEntry("DataServiceImpl", entry);
    return AppendEntry(entry) && written && serviceWritten;
}

bool CVBProjectBuilder::WriteModules()
{
    std::string projectFolder = ProjectFolder();
    CVBModule globals("GlobalCode", encoder_);
    bool globalsWritten = globals.Create(projectFolder) && globals.WriteText(kGlobalDeclarations);
    if (globalCode_) {
        std::string moduleCode;
        globalCode_->GetModuleCode(moduleCode);
        globalsWritten = globalsWritten && globals.WriteText(moduleCode);
    }
    globalsWritten = globalsWritten && globals.Complete();
    if (!globalsWritten)
        Fail(globals.ErrorText());
    log_->LogWriteFile("GlobalCode", ".bas", globalsWritten);
    std::string entry;
    CVBUtility::GetModuleEntry("GlobalCode", entry);
    bool entriesWritten = AppendEntry(entry);

    CVBModule routines("KBRoutine", encoder_);
    bool routinesWritten = routines.Create(projectFolder);
    routinesWritten = WriteRoutines(routines) && routinesWritten && routines.Complete();
    if (!routinesWritten)
        Fail(routines.ErrorText());
    CVBUtility::GetModuleEntry("KBRoutine", entry);
    entriesWritten = AppendEntry(entry) && entriesWritten;
    log_->LogWriteFile("KB Item", ".bas", routinesWritten);
    return globalsWritten && routinesWritten && entriesWritten;
}

// The routine text goes out in slices, so that a large rule file's routines, which are most of
// its bytes, are never held whole a second time; the file ends up the same.
bool CVBProjectBuilder::WriteRoutines(CVBModule& routines)
{
    bool written = true;
    std::string routineText, itemText;
    for (auto& list : items_) {
        for (auto& item : list) {
            itemText.clear();
            item->GenerateImplementCode(itemText);
            routineText += itemText;
            if (routineText.size() >= kRoutineSlice) {
                written = written && routines.WriteText(routineText);
                routineText.clear();
            }
        }
    }
    return written && routines.WriteText(routineText);
}
