#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "lsp/LspDocument.h"
#include "lsp/LspRuleCheck.h"
#include "lsp/LspRuleMap.h"

// The routines that the project renames, as the VB check saw them: a Method's Calc is Calc_Pump
// in KBRoutine.bas. Maps a column of a line as checked to the bytes of the line as written.
class CLspRenames {
public:
    struct Rename {
        std::string asWritten;
        std::string inProject;
    };

    CLspRenames(const CLspDocument& document, const CLspRuleMap& map, const std::vector<CLspRuleCheck::Item>& items)
        : document_(document), map_(map), items_(items) {}

    // The renames of the item whose code holds line.
    std::vector<Rename> OnLine(int line) const;
    // The bytes of code, a line as written, up to column (1 for the first character) of the same
    // line as checked, where each name as written stands in its name in the project.
    static size_t BytesUpTo(std::string_view code, int column, const std::vector<Rename>& renames);

private:
    // The item element that holds offset: a Method, Event, Rule, Filter, Sort or Demon.
    int ItemAt(size_t offset) const;

    const CLspDocument& document_;
    const CLspRuleMap& map_;
    const std::vector<CLspRuleCheck::Item>& items_;
};
