#include "vbproject/VBProjectBuilder.h"

#include <string_view>
#include <utility>

#include "common/MessageText.h"
#include "common/Placeholder.h"
#include "common/Utf8.h"
#include "log/Log.h"
#include "platform/FileSystem.h"
#include "platform/InterruptionHold.h"
#include "platform/TextEncoder.h"
#include "vbproject/ReplaceJournal.h"
#include "vbproject/SafeName.h"
#include "vbproject/VBClass.h"
#include "vbproject/VBFileTexts.h"
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

constexpr std::string_view kUnsafeModuleName = "unsafe module name '{module}': {reason}";
constexpr std::string_view kUnsafeClassName = "unsafe class name '{class}': {reason}";
constexpr std::string_view kNotPutBack = "{failure}; {undo}: the next conversion into {folder} puts the earlier files back";
constexpr std::string_view kLacksCharacter =
    "{kind} name '{name}' has '{character}', which code page {codepage} lacks; --codepage 65001 or the machine's own code page holds it";
constexpr std::string_view kModule = "module";
constexpr std::string_view kClass = "class";
// The longest name each kind of name goes into: the project folder's is shorter than the .vbp's.
constexpr std::string_view kProjectExtension = ".vbp";
constexpr std::string_view kClassExtension = ".cls";

}  // namespace

CVBProjectBuilder::CVBProjectBuilder(std::string targetFolder, CTextEncoder* encoder, CFileSink* disk)
    : encoder_(encoder), disk_(disk), targetFolder_(std::move(targetFolder)), log_(CLog::Instance())
{
}

CVBProjectBuilder::~CVBProjectBuilder() = default;

void CVBProjectBuilder::SetModuleName(std::string moduleName)
{
    moduleName_ = std::move(moduleName);
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

std::vector<const CKBItem*> CVBProjectBuilder::ItemsInOrder() const
{
    std::vector<const CKBItem*> items;
    for (const auto& list : items_) {
        for (const auto& item : list)
            items.push_back(item.get());
    }
    return items;
}

void CVBProjectBuilder::VisitItems(const ItemVisitor& visit)
{
    for (size_t kind = 0; kind < items_.size(); ++kind) {
        for (size_t i = 0; i < items_[kind].size(); ++i)
            visit(*items_[kind][i], static_cast<int>(kind), static_cast<int>(i + 1));
    }
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
    bool placed = false;
    if (HasSafeNames() && WriteProjectFile()) {
        bool written = WriteServiceClass();
        written = WriteModules() && written;
        written = (project_->Finish() || Fail(project_->ErrorText())) && written;
        placed = written && PlaceFiles();
    }
    // Removes the temporary files of what did not take its place, and lets go of the folder.
    files_.clear();
    project_.reset();
    return placed;
}

CVBItem& CVBProjectBuilder::Keep(std::unique_ptr<CVBItem> file)
{
    file->SetSink(disk_);
    files_.push_back(std::move(file));
    return *files_.back();
}

bool CVBProjectBuilder::PlaceFiles()
{
    const std::string folder = ProjectFolder();
    // The project file, which lists the others, comes last: until it is in place, the earlier
    // one still describes the project.
    files_.push_back(std::move(project_));
    CReplaceJournal journal(folder, disk_);
    for (const std::unique_ptr<CVBItem>& file : files_)
        journal.Add(file->Path());
    // Nothing stops the renames half way but a kill, which the journal undoes.
    CInterruptionHold held;
    if (!journal.Begin())
        return Undo(journal, journal.ErrorText());
    for (std::unique_ptr<CVBItem>& file : files_)
        if (!file->TakePlace())
            return Undo(journal, file->ErrorText());
    return journal.Commit() || Undo(journal, journal.ErrorText());
}

bool CVBProjectBuilder::Undo(CReplaceJournal& journal, std::string failure)
{
    if (!journal.Undo())
        failure = MessageText(kNotPutBack, {{"failure", failure}, {"undo", journal.ErrorText()}, {"folder", journal.Folder()}});
    return Fail(failure);
}

bool CVBProjectBuilder::HasSafeNames()
{
    // The module name becomes a folder under the target, and each class name a file in it:
    // neither may lead anywhere else, nor be a name that Windows refuses or reads otherwise.
    const std::string& name = moduleName_;
    if (std::string problem = CSafeName::Problem(name, kProjectExtension); !problem.empty())
        return Fail(MessageText(kUnsafeModuleName, {{"module", name}, {"reason", problem}}));
    if (!HoldsName(kModule, name))
        return false;
    std::vector<std::string> classNames;
    if (globalCode_ && globalCode_->GetClassNames(classNames)) {
        for (const std::string& className : classNames) {
            if (std::string problem = CSafeName::Problem(className, kClassExtension); !problem.empty())
                return Fail(MessageText(kUnsafeClassName, {{"class", className}, {"reason", problem}}));
            if (!HoldsName(kClass, className))
                return false;
        }
    }
    return true;
}

bool CVBProjectBuilder::HoldsName(std::string_view kind, const std::string& name)
{
    // The project file names each file in the code page, while the file itself is named in
    // Unicode: a character the code page lacks would name a file that is not there.
    if (!encoder_ || encoder_->PassesThrough())
        return true;
    std::string encoded;
    for (size_t start = 0; start < name.size();) {
        const size_t length = CUtf8::CharacterLength(std::string_view(name).substr(start));
        const size_t before = encoder_->Replacements();
        encoder_->Encode(std::string_view(name).substr(start, length), encoded);
        if (encoder_->Replacements() != before)
            return Fail(MessageText(kLacksCharacter, {{"kind", kind}, {"name", name},
                                                      {"character", name.substr(start, length)},
                                                      {"codepage", encoder_->Name()}}));
        start += length;
    }
    return true;
}

bool CVBProjectBuilder::WriteProjectFile()
{
    project_ = std::make_unique<CVBProject>(moduleName_, encoder_);
    project_->SetSink(disk_);
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
        CVBItem& file = Keep(std::make_unique<CVBClass>(names[i], encoder_));
        if (!file.Create(projectFolder) || !file.WriteText(bodies[i]) || !file.Finish())
            written = Fail(file.ErrorText());
        std::string entry;
        CVBFileTexts::GetClassEntry(names[i], entry);
        written = AppendEntry(entry) && written;
    }
    log_->LogWriteFile("GlobalCode", ".cls", written);
    return written;
}

bool CVBProjectBuilder::WriteServiceClass()
{
    std::string projectFolder = ProjectFolder();
    bool written = WriteGlobalCodeClasses(projectFolder);

    CVBItem& service = Keep(std::make_unique<CVBClass>("DataServiceImpl", encoder_));
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
                     service.Finish();
    if (!serviceWritten)
        Fail(service.ErrorText());
    log_->LogWriteFile("KB Item", ".cls", serviceWritten);

    std::string entry;
    CVBFileTexts::GetClassEntry("DataServiceImpl", entry);
    return AppendEntry(entry) && written && serviceWritten;
}

bool CVBProjectBuilder::WriteModules()
{
    std::string projectFolder = ProjectFolder();
    CVBItem& globals = Keep(std::make_unique<CVBModule>("GlobalCode", encoder_));
    bool globalsWritten = globals.Create(projectFolder) && globals.WriteText(kGlobalDeclarations);
    if (globalCode_) {
        std::string moduleCode;
        globalCode_->GetModuleCode(moduleCode);
        globalsWritten = globalsWritten && globals.WriteText(moduleCode);
    }
    globalsWritten = globalsWritten && globals.Finish();
    if (!globalsWritten)
        Fail(globals.ErrorText());
    log_->LogWriteFile("GlobalCode", ".bas", globalsWritten);
    std::string entry;
    CVBFileTexts::GetModuleEntry("GlobalCode", entry);
    bool entriesWritten = AppendEntry(entry);

    CVBItem& routines = Keep(std::make_unique<CVBModule>("KBRoutine", encoder_));
    bool routinesWritten = routines.Create(projectFolder);
    routinesWritten = WriteRoutines(routines) && routinesWritten && routines.Finish();
    if (!routinesWritten)
        Fail(routines.ErrorText());
    CVBFileTexts::GetModuleEntry("KBRoutine", entry);
    entriesWritten = AppendEntry(entry) && entriesWritten;
    log_->LogWriteFile("KB Item", ".bas", routinesWritten);
    return globalsWritten && routinesWritten && entriesWritten;
}

// The routine text goes out in slices, so that a large rule file's routines, which are most of
// its bytes, are never held whole a second time; the file ends up the same.
bool CVBProjectBuilder::WriteRoutines(CVBItem& routines)
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
