#pragma once

#include <deque>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "dialog/DialogPrompts.h"
#include "kbfile/KBReader.h"

// What the dialog says when Convert is pressed with no rule file chosen.
constexpr const char* kNoRuleFile = "Please select the file you want to convert!";

// What the dialog asked of the user, and the replies the test scripted for it.
struct PromptScript {
    std::vector<std::string> shown;    // every message and question, in order
    std::vector<std::string> details;  // the detailed text of each message, "" when none
    std::deque<bool> answers;          // replies to questions; an unscripted one is No
    std::optional<std::string> ruleFile;  // the chooser's pick; none: the user cancels
    std::optional<std::string> folder;
    std::vector<std::string> folderStarts;  // where each folder chooser opened
};

class ScriptedPrompts : public CDialogPrompts {
public:
    explicit ScriptedPrompts(PromptScript& script) : script_(script) {}
    void ShowMessage(std::string_view text, std::string_view details) override
    {
        script_.shown.emplace_back(text);
        script_.details.emplace_back(details);
    }
    bool AskYesNo(std::string_view text) override
    {
        script_.shown.emplace_back(text);
        if (script_.answers.empty())
            return false;
        bool yes = script_.answers.front();
        script_.answers.pop_front();
        return yes;
    }
    bool ChooseRuleFile(std::string& path) override
    {
        if (script_.ruleFile)
            path = *script_.ruleFile;
        return script_.ruleFile.has_value();
    }
    bool ChooseFolder(const std::string& startFolder, std::string& folder) override
    {
        script_.folderStarts.push_back(startFolder);
        if (script_.folder)
            folder = *script_.folder;
        return script_.folder.has_value();
    }

private:
    PromptScript& script_;
};

struct Conversion {
    std::string rulePath;
    std::string targetFolder;
};

// A reader that records what it was given and fails when the rule path holds "fail".
class ScriptedReader : public CKBReader {
public:
    explicit ScriptedReader(std::vector<Conversion>& conversions) : conversions_(conversions) {}
    bool LoadModule(std::string rulePath, std::string targetFolder) override
    {
        conversions_.push_back({rulePath, targetFolder});
        return rulePath.find("fail") == std::string::npos;
    }
    bool ReadItems() override { return true; }
    bool BuildProject() override { return true; }

private:
    std::vector<Conversion>& conversions_;
};
