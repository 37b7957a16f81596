#pragma once

#include <QLineEdit>
#include <QPushButton>
#include <QtTest>
#include <memory>
#include <string>
#include <vector>

#include "DialogScript.h"
#include "TestSupport.h"
#include "app/ConvertHelper.h"
#include "dialog/QtRulecastDlg.h"

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

// The dialog with scripted prompts and reader; config.txt and the logs go into app.
struct DialogFixture {
    TempFolder app;
    TempFolder target;
    PromptScript script;
    std::vector<Conversion> conversions;

    std::unique_ptr<CQtRulecastDlg> Open()
    {
        auto makeConverter = [this] {
            return std::make_unique<CConvertHelper>(
                [this] { return std::make_unique<ScriptedReader>(conversions); },
                CProgramFolders{app.Path() + "/", "", ""});
        };
        return std::make_unique<CQtRulecastDlg>(makeConverter, std::make_unique<ScriptedPrompts>(script));
    }
    std::string Config() const { return ReadFileBytes(app / "config.txt"); }

    static void Click(CQtRulecastDlg& dialog, const char* button)
    {
        dialog.findChild<QPushButton*>(button)->click();
    }
    static QLineEdit* Edit(CQtRulecastDlg& dialog, const char* name) { return dialog.findChild<QLineEdit*>(name); }
    static std::string Shown(CQtRulecastDlg& dialog, const char* edit)
    {
        return Edit(dialog, edit)->text().toStdString();
    }
    // Picks a rule file and a target folder through the choosers.
    void Choose(CQtRulecastDlg& dialog, const std::string& ruleFile, const std::string& folder)
    {
        script.ruleFile = ruleFile;
        script.folder = folder;
        Click(dialog, "browseRuleButton");
        Click(dialog, "browseFolderButton");
    }
};
