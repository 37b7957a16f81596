#pragma once

#include <array>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "common/GrowingText.h"

class CLog;

// One Demon, Event, Filter, Method, Rule or Sort of a rule file. The builder asks each item for its
// registrar call, its branch of its kind's dispatch procedure and its routine text. Every text goes
// into the VB output verbatim; placeholders are filled over the whole text being built, so a value
// that carries a token is changed again by later fillings of that token.
class CKBItem {
public:
    // How a Method's or Rule's routine hands back its result.
    enum class ResultStyle { None, Object, Value };

    // The markers by which the builder steers an item's dispatch code: the first item of a kind
    // opens the procedure, every later one adds a branch, and the last one is called once more to
    // close it.
    static constexpr std::string_view kFirstBranch = "  If ITEM_00003 = ITEM_00004 Then\n";
    static constexpr std::string_view kFurtherBranch = "  Elseif ITEM_00003 = ITEM_00004 then\n";
    static constexpr std::string_view kEndBranch = "  End If\n";

    // Follows the declaration line of every dispatch procedure.
    static constexpr std::string_view kProcedureHeadLines =
        "  Set GlobalCode.ClassStore = Globals.ClassStore\n"
        "  Set GlobalCode.Server = Globals\n"
        "  Set GlobalCode.ObjectStore = Globals.ObjectStore\n"
        "\n";

    static constexpr std::string_view kSubClosing = "End Sub\n\n";
    static constexpr std::string_view kFunctionClosing = "End Function\n\n";

    // Array element with its value in double quotes: class names handed to the registrar.
    static constexpr std::string_view kQuotedElementTemplate =
        "  ITEM_00001(ITEM_00002) = \"ITEM_00003\"\n";
    // One argument of a dispatch call, ITEM_00001 being its index in the host's argument array.
    static constexpr std::string_view kArgumentTemplate = "Args(ITEM_00001)";

    CKBItem();
    virtual ~CKBItem() = default;

    virtual bool IsSameItem(const CKBItem& other) const;
    virtual void GenerateRegisterCode(int itemId, CGrowingText& registerText) = 0;
    virtual void GenerateComEntryCode(CGrowingText& handlerText, std::string_view branchMarker,
                                      int itemId) = 0;
    virtual void GenerateImplementCode(std::string& outputText) = 0;
    // The texts GenerateImplementCode writes, one per code part of the item's element (a Demon's
    // PatternCode, then its ActionCode), the routines renamed as written, each handed to take with
    // its index. Logs nothing, changes nothing: it may run beside the builder.
    using PartTaker = std::function<void(size_t index, std::string_view text)>;
    virtual void RoutineParts(const PartTaker& take) const = 0;
    // The routines that the item's dispatch branch calls unqualified, by their names in the project.
    virtual std::vector<std::string> CalledRoutines() const = 0;
    // The array the item declares in the Register procedure; empty when it declares none.
    virtual std::string ArrayName() const;

    // Where the item stands in the file it was read from: the line of its element, and those on
    // which its code parts start, in the order of RoutineParts; 0 where not known.
    long sourceLine = 0;
    std::array<long, 2> partLines{};
    // Items with different keys are never the same item, so the builder needs to ask IsSameItem
    // only among equal keys. Empty: the item is the same as no other.
    virtual std::string ReplacementKey() const;
    // What in the item's routines would be lost or keep the project from compiling, each as the
    // rest of a sentence about the item ("has no PatternCode; ..."). Generates and logs nothing.
    virtual void FindCodeFaults(std::vector<std::string>& faults) const = 0;

    // The same for a plain text, which is filled over its whole length as well.
    void GenerateRegisterCode(int itemId, std::string& registerText);
    void GenerateComEntryCode(std::string& handlerText, std::string_view branchMarker, int itemId);

    // Looks, after the code's first "(", for an assignment to routineName in any letter case; "Set"
    // before it means an object result.
    static ResultStyle FindResultStyle(const std::string& routineName, const std::string& code);

protected:
    // The word for an item's one routine text in what FindCodeFaults says.
    static constexpr std::string_view kCodeWord = "code";

    // Appends what the marker calls for. True for the two opening markers, after which the caller
    // fills its tokens and writes its log line; false for the end marker, which needs neither.
    static bool AppendBranch(CGrowingText& text, std::string_view branchMarker,
                             std::string_view declaration, std::string_view body,
                             std::string_view closing);
    static std::string_view TruthWord(bool flag);
    // The rule file must list a class, but a missing one only leaves the class suffix empty.
    static std::string FirstClass(const std::vector<std::string>& classlist);
    // part ("code", "PatternCode") must hold the routine that the dispatch calls as calledAs,
    // under the name routineName that the renaming looks for, and end with a line break, since
    // the next routine in the file starts right after it.
    static void FindRoutineFaults(std::string_view part, const std::string& code,
                                  const std::string& routineName, const std::string& calledAs,
                                  std::vector<std::string>& faults);

    CLog* log;
};
