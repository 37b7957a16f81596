#pragma once

#include <string>
#include <vector>

#include <nlohmann/json_fwd.hpp>

#include "lsp/LspDocument.h"
#include "lsp/LspRenames.h"
#include "lsp/LspRuleCheck.h"
#include "lsp/LspRuleMap.h"

// The findings of one check as the editor shows them: each at its line and, where known, the
// columns of the token or the start tag it is about.
class CLspDiagnostics {
public:
    // text is the rule file that was checked, items what the check made of its items.
    CLspDiagnostics(const std::string& text, const std::vector<CLspRuleCheck::Item>& items);

    // The diagnostics of textDocument/publishDiagnostics.
    nlohmann::json Make(const std::vector<CLspRuleCheck::Finding>& findings) const;

private:
    struct Range {
        LspPosition start;
        LspPosition end;
    };

    Range RangeOf(const CLspRuleCheck::Finding& finding) const;
    // A VB compile error's token: its columns count from where its text starts on the text's first line.
    Range TokenRange(int line, const CLspRuleCheck::Finding& finding) const;
    // Where on line the VB text that holds it starts (0 but on a text's first line), and whether
    // that text is the global code.
    size_t TextStart(int line, bool& inGlobalCode) const;
    // The start tag of the element the finding names, among those whose start tag ends on line.
    bool StartTagRange(int line, const std::string& message, Range& range) const;
    // The line without its leading blanks.
    Range LineRange(int line) const;

    CLspDocument document_;
    CLspRuleMap map_;
    CLspRenames renames_;
};
