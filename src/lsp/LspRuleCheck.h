#pragma once

#include <string>
#include <vector>

class CKBItem;
class CKBItemsConvertor;

// What reading a rule file's text as a conversion would found: its errors and warnings, and what
// the project would make of each item. Writes nothing: no project, no log.
class CLspRuleCheck {
public:
    struct Finding {
        long line = 0;   // of the rule file, 1 for the first; 0 when not known
        int column = 0;  // see CKBWarning; 0 when not known
        int length = 0;
        bool error = false;  // it fails the conversion
        std::string message;
        // The column counts from the line's start, not from where a text starts on it.
        bool columnOfLine = false;
    };

    // One item as the project has it: its element's line as the reader counts it (where the start
    // tag ends), the routines its dispatch calls and the call lines themselves.
    struct Item {
        std::string kind;
        long line = 0;
        int itemId = 0;
        std::vector<std::string> routines;
        std::vector<std::string> dispatch;
    };

    // text is the rule file as the editor holds it, in UTF-8; url names it.
    void Run(const std::string& text, const std::string& url);

    const std::vector<Finding>& Findings() const { return findings_; }
    const std::vector<Item>& Items() const { return items_; }

    // text with the encoding its XML declaration names replaced by UTF-8, in as many characters
    // where it can be: an editor hands over characters, whatever the file's bytes on disk.
    static std::string DeclaredUtf8(std::string text);

private:
    void ReadItems(CKBItemsConvertor& reader);
    static std::vector<std::string> DispatchLines(CKBItem& item, int itemId);

    std::vector<Finding> findings_;
    std::vector<Item> items_;
};
