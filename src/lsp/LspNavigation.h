#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include <nlohmann/json_fwd.hpp>

#include "lsp/LspCheckWorker.h"
#include "lsp/LspDocument.h"
#include "lsp/LspRuleMap.h"

// Go to definition and hover in a rule file: from a name used in VB code to the routine, inline
// class or item it names; over an item's start tag, what the project makes of the item.
class CLspNavigation {
public:
    // checked: the document's last check, for the items as the project has them; may be none.
    CLspNavigation(const CLspDocument& document, const CLspRuleMap& map,
                   std::shared_ptr<const CLspCheckWorker::Result> checked);

    // A Location in uri, or null.
    nlohmann::json Definition(LspPosition position, const std::string& uri) const;
    // A Hover, or null.
    nlohmann::json Hover(LspPosition position) const;

private:
    // A name that may be gone to: where it is declared, and the item element it belongs to (-1
    // for the global code).
    struct Target {
        std::string name;
        CLspRuleMap::Span at;
        int element = -1;
    };

    void CollectTargets();
    void CollectItemTargets(int element);
    std::string_view WordAt(size_t offset, CLspRuleMap::Span& span) const;
    // The first target of name, looking at declarations, then routines in the project, then items.
    const Target* Find(std::string_view name) const;
    const CLspCheckWorker::Result* Checked() const { return checked_.get(); }
    // The item as the last check has it; none when the check does not know the element.
    const CLspRuleCheck::Item* CheckedItem(int element) const;
    bool IsItem(int element) const;
    nlohmann::json Range(CLspRuleMap::Span span) const;

    const CLspDocument& document_;
    const CLspRuleMap& map_;
    std::shared_ptr<const CLspCheckWorker::Result> checked_;
    std::vector<Target> declarations_;
    std::vector<Target> routines_;
    std::vector<Target> items_;
};
