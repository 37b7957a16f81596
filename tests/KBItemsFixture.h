#pragma once

#include <optional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "TestSupport.h"
#include "kbitems/KBDemon.h"
#include "kbitems/KBItem.h"
#include "log/Log.h"

// The dispatch-procedure head lines, as every handler procedure repeats them.
inline constexpr char kHeadLines[] =
    "  Set GlobalCode.ClassStore = Globals.ClassStore\n"
    "  Set GlobalCode.Server = Globals\n"
    "  Set GlobalCode.ObjectStore = Globals.ObjectStore\n"
    "\n";

struct GeneratedCode {
    std::string registerText;
    std::string handlerText;
    std::string routineText;
};

// Drives the items of one kind the way the builder does: registration and branch item by item,
// the end marker after the last. Text is a plain string or the builder's growing text.
template <typename Text>
void GenerateBranches(const std::vector<CKBItem*>& items, Text& registerText, Text& handlerText)
{
    for (size_t i = 0; i < items.size(); ++i) {
        const int id = static_cast<int>(i) + 1;
        items[i]->GenerateRegisterCode(id, registerText);
        items[i]->GenerateComEntryCode(handlerText, i == 0 ? CKBItem::kFirstBranch : CKBItem::kFurtherBranch, id);
        if (i + 1 == items.size())
            items[i]->GenerateComEntryCode(handlerText, CKBItem::kEndBranch, id);
    }
}

// The same into plain texts, then the routines.
inline GeneratedCode GenerateKind(const std::vector<CKBItem*>& items)
{
    GeneratedCode code;
    GenerateBranches(items, code.registerText, code.handlerText);
    for (CKBItem* item : items) {
        std::string routine;
        item->GenerateImplementCode(routine);
        code.routineText += routine;
    }
    return code;
}

// Every test writes a log file of its own, so that the item lines can be read back.
class KBItemsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        CLog::Restart(folder.Path() + "/");
        CKBDemon::patternText.Clear();
        CKBDemon::actionText.Clear();
    }
    // The log file must be closed before its folder goes.
    void TearDown() override { CLog::Restart(std::nullopt); }

    // The item-code lines logged so far, from "---->" on (without the time stamp).
    std::vector<std::string> ItemLogLines() const
    {
        return LogLinesFrom(CLog::Instance()->FilePath(), "---->Generate");
    }

    TempFolder folder;
};
