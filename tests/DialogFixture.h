#pragma once

#include <QLineEdit>
#include <QPushButton>
#include <QtTest>
#include <deque>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "TestSupport.h"
#include "app/ConvertHelper.h"
#include "app/DialogPrompts.h"
#include "app/RulecastDlg.h"

// Failures show the texts compared.
namespace QTest {
template <>
inline char* toString(const std::string& text)
{
    return qstrdup(("\"" + text + "\"").c_str());
}
template <>
inline char* toString(const std::vector<std::string>& texts)
{
    std::string joined = "{";
    for (const std::string& text : texts)
        joined += (joined.size() > 1 ? ", \"" : "\"") + text + "\"";
    return qstrdup((joined + "}").c_str());
}
}  // namespace QTest

// What the dialog asked of the user, and the replies the test scripted for it.
struct PromptScript {
    std::vector<std::string> shown;  // every message and question, in order
    std::vector<std::string> details;  // the detailed text of each message, "" when none
    std::deque<bool> answers;        // replies to questions; an unscripted one is No
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

// The dialog with scripted prompts and reader; config.txt and the logs go into app.
struct DialogFixture {
    TempFolder app;
    TempFolder target;
    PromptScript script;
    std::vector<Conversion> conversions;

    std::unique_ptr<CRulecastDlg> Open()
    {
        auto makeConverter = [this] {
            return std::make_unique<CConvertHelper>(
                [this] { return std::make_unique<ScriptedReader>(conversions); }, app.Path() + "/");
        };
        return std::make_unique<CRulecastDlg>(makeConverter, std::make_unique<ScriptedPrompts>(script));
    }
    std::string Config() const { return ReadFileBytes(app / "config.txt"); }

    static void Click(CRulecastDlg& dialog, const char* button)
    {
        dialog.findChild<QPushButton*>(button)->click();
    }
    static QLineEdit* Edit(CRulecastDlg& dialog, const char* name) { return dialog.findChild<QLineEdit*>(name); }
    static std::string Shown(CRulecastDlg& dialog, const char* edit)
    {
        return Edit(dialog, edit)->text().toStdString();
    }
    // Picks a rule file and a target folder through the choosers.
    void Choose(CRulecastDlg& dialog, const std::string& ruleFile, const std::string& folder)
    {
        script.ruleFile = ruleFile;
        script.folder = folder;
        Click(dialog, "browseRuleButton");
        Click(dialog, "browseFolderButton");
    }
};
