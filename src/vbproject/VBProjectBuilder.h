#pragma once

#include <array>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_set>
#include <vector>

#include "kbitems/KBItem.h"
#include "vbproject/GlobalCode.h"
#include "vbproject/VBProject.h"

class CFileSink;
class CLog;
class CReplaceJournal;
class CTextEncoder;
class CVBItem;
class CVBModule;

// Collects the module, the global code and the KB items of one rule file, and writes the whole VB
// project into <target folder>/<module name>: every file to a temporary one first, then, once all
// are whole, each into its place, the project file last.
class CVBProjectBuilder {
public:
    // encoder (borrowed) is the code page the project's files are written in; none writes UTF-8.
    // disk (borrowed) is where they go; none is the real disk.
    explicit CVBProjectBuilder(std::string targetFolder, CTextEncoder* encoder = nullptr,
                               CFileSink* disk = nullptr);
    virtual ~CVBProjectBuilder();

    // The rule file's module name, which names the project and its folder.
    void SetModuleName(std::string moduleName);
    // A later global code replaces the earlier one.
    void SetGlobalCode(std::unique_ptr<CGlobalCode> globalCode);

    void AddDemon(std::unique_ptr<CKBItem> item);
    void AddEvent(std::unique_ptr<CKBItem> item);
    void AddFilter(std::unique_ptr<CKBItem> item);
    void AddMethod(std::unique_ptr<CKBItem> item);
    void AddRule(std::unique_ptr<CKBItem> item);
    void AddSort(std::unique_ptr<CKBItem> item);

    // The items in the order their routines are written: by kind (Demon, Event, Filter, Method,
    // Rule, Sort), each kind in the order added, replaced ones gone. Build changes none of them, so
    // they may be read while it runs.
    std::vector<const CKBItem*> ItemsInOrder() const;
    // The same, each with its kind index and its item ID, for what an editor shows of an item.
    using ItemVisitor = std::function<void(CKBItem& item, int kindIndex, int itemId)>;
    void VisitItems(const ItemVisitor& visit);
    // The global code, already split when it was set; none when there is none.
    const CGlobalCode* GlobalCode() const { return globalCode_.get(); }

    // True when every file of the project was written whole and put in place. On a failure the
    // earlier project stays, or is put back, as it was; where even that fails, the next conversion
    // into the folder puts it back.
    bool Build();
    // False, with the reason, when the module or a class has a name no file may take, or one that
    // the code page cannot write.
    bool HasSafeNames();
    // Why the last Build failed; empty when it did not.
    const std::string& FailureReason() const { return failureReason_; }

private:
    // Kind index: the order of the lists and of every generated file.
    enum Kind { kDemon, kEvent, kFilter, kMethod, kRule, kSort, kKindCount };

    void AddItem(Kind kind, std::unique_ptr<CKBItem> item);
    bool WriteProjectFile();
    bool WriteServiceClass();
    bool WriteModules();
    bool WriteGlobalCodeClasses(const std::string& projectFolder);
    bool WriteRoutines(CVBItem& routines);
    // Keeps a file of the project until every file is whole.
    CVBItem& Keep(std::unique_ptr<CVBItem> file);
    // Puts the kept files in their places, then the project file, all or none.
    bool PlaceFiles();
    // Puts back what the journal replaced, and fails with failure, and with why that too failed.
    bool Undo(CReplaceJournal& journal, std::string failure);
    // False, with the reason, when the code page lacks a character of the name of that kind.
    bool HoldsName(std::string_view kind, const std::string& name);
    std::string ProjectFolder() const;
    // Appends an entry line to the project file.
    bool AppendEntry(const std::string& entry);
    // Remembers the first failure and returns false.
    bool Fail(const std::string& reason);

    std::unique_ptr<CVBProject> project_;
    // The project's other files, finished or failed, in the order they take their places.
    std::vector<std::unique_ptr<CVBItem>> files_;
    CTextEncoder* encoder_;
    CFileSink* disk_;
    std::string targetFolder_;
    std::string moduleName_;
    std::unique_ptr<CGlobalCode> globalCode_;
    std::array<std::vector<std::unique_ptr<CKBItem>>, kKindCount> items_;
    // Per kind, the replacement keys of the items added so far.
    std::array<std::unordered_set<std::string>, kKindCount> replacementKeys_;
    CLog* log_;
    std::string failureReason_;
};
