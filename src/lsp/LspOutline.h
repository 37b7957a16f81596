#pragma once

#include <cstddef>
#include <string_view>

#include <nlohmann/json_fwd.hpp>

#include "lsp/LspDocument.h"
#include "lsp/LspRuleMap.h"

// The outline of a rule file (textDocument/documentSymbol): each Classblock with its Methods and
// Events, the Rules, Filters, Sorts and Demons, and the GlobalCode with its inline classes and
// procedures; each with its range and, as the part to show, its name.
class CLspOutline {
public:
    CLspOutline(const CLspDocument& document, const CLspRuleMap& map) : document_(document), map_(map) {}

    // The DocumentSymbol tree below the root element.
    nlohmann::json Symbols() const;

private:
    nlohmann::json ElementSymbol(int element) const;
    // The inline classes and procedures of the GlobalCode's text.
    nlohmann::json CodeSymbols(const CLspRuleMap::Element& globalCode) const;
    nlohmann::json Symbol(std::string_view name, std::string_view detail, int kind, CLspRuleMap::Span range,
                          CLspRuleMap::Span selection) const;
    nlohmann::json Range(CLspRuleMap::Span span) const;

    const CLspDocument& document_;
    const CLspRuleMap& map_;
};
