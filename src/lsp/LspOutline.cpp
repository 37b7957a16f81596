#include "lsp/LspOutline.h"

#include <array>
#include <string>

#include <nlohmann/json.hpp>

#include "lsp/LspCodeOutline.h"

namespace {

// SymbolKind of the protocol.
constexpr int kModuleSymbol = 2;
constexpr int kClassSymbol = 5;
constexpr int kMethodSymbol = 6;
constexpr int kFunctionSymbol = 12;
constexpr int kArraySymbol = 18;
constexpr int kObjectSymbol = 19;
constexpr int kEventSymbol = 24;
constexpr int kOperatorSymbol = 25;

struct ElementKind {
    std::string_view name;
    int symbol;
    // Where it stands: at the root, or inside a Classblock.
    bool inClassblock;
};

constexpr std::array<ElementKind, 8> kKinds = {{{"GlobalCode", kModuleSymbol, false},
                                                {"Classblock", kClassSymbol, false},
                                                {"Rule", kFunctionSymbol, false},
                                                {"Filter", kOperatorSymbol, false},
                                                {"Sort", kArraySymbol, false},
                                                {"Demon", kObjectSymbol, false},
                                                {"Method", kMethodSymbol, true},
                                                {"Event", kEventSymbol, true}}};

const ElementKind* KindOf(const std::string& name, bool inClassblock)
{
    for (const ElementKind& kind : kKinds) {
        if (kind.name == name && kind.inClassblock == inClassblock)
            return &kind;
    }
    return nullptr;
}

}  // namespace

nlohmann::json CLspOutline::Symbols() const
{
    nlohmann::json symbols = nlohmann::json::array();
    const int root = map_.Root();
    if (root < 0)
        return symbols;
    for (const int child : map_.Elements()[static_cast<size_t>(root)].children) {
        nlohmann::json symbol = ElementSymbol(child);
        if (!symbol.is_null())
            symbols.push_back(std::move(symbol));
    }
    return symbols;
}

nlohmann::json CLspOutline::ElementSymbol(int index) const
{
    const CLspRuleMap::Element& element = map_.Elements()[static_cast<size_t>(index)];
    const bool inClassblock = element.parent >= 0 &&
                              map_.Elements()[static_cast<size_t>(element.parent)].name == "Classblock";
    const ElementKind* kind = KindOf(element.name, inClassblock);
    if (!kind)
        return nullptr;
    const std::string_view name = map_.NameOf(index);
    // An element without a name shows by its own name, pointed at in its start tag.
    const CLspRuleMap::Span tagName{element.startTag.start + 1, element.startTag.start + 1 + element.name.size()};
    const CLspRuleMap::Span selection = name.empty() ? tagName : element.nameValue;
    nlohmann::json symbol = Symbol(name.empty() ? std::string_view(element.name) : name, element.name, kind->symbol,
                                   element.whole, selection);
    nlohmann::json children = nlohmann::json::array();
    if (element.name == "GlobalCode")
        children = CodeSymbols(element);
    for (const int child : element.children) {
        nlohmann::json childSymbol = element.name == "Classblock" ? ElementSymbol(child) : nlohmann::json();
        if (!childSymbol.is_null())
            children.push_back(std::move(childSymbol));
    }
    symbol["children"] = std::move(children);
    return symbol;
}

nlohmann::json CLspOutline::CodeSymbols(const CLspRuleMap::Element& globalCode) const
{
    nlohmann::json symbols = nlohmann::json::array();
    if (globalCode.texts.empty())
        return symbols;
    // Only the first text is the global code.
    const CLspRuleMap::Span text = globalCode.texts.front();
    const CLspCodeOutline outline(map_.TextOf(text), text.start);
    const auto& declarations = outline.Declarations();
    // A procedure goes into its class, which comes before it.
    std::vector<nlohmann::json> made(declarations.size());
    for (size_t i = 0; i < declarations.size(); ++i) {
        const CLspCodeOutline::Declaration& declaration = declarations[i];
        const int kind = declaration.isClass ? kClassSymbol : declaration.parent >= 0 ? kMethodSymbol : kFunctionSymbol;
        made[i] = Symbol(declaration.name, declaration.keyword, kind, {declaration.start, declaration.end},
                         {declaration.nameStart, declaration.nameEnd});
        made[i]["children"] = nlohmann::json::array();
    }
    for (size_t i = 0; i < declarations.size(); ++i) {
        if (declarations[i].parent >= 0)
            made[static_cast<size_t>(declarations[i].parent)]["children"].push_back(std::move(made[i]));
    }
    for (size_t i = 0; i < declarations.size(); ++i) {
        if (declarations[i].parent < 0)
            symbols.push_back(std::move(made[i]));
    }
    return symbols;
}

nlohmann::json CLspOutline::Symbol(std::string_view name, std::string_view detail, int kind,
                                   CLspRuleMap::Span range, CLspRuleMap::Span selection) const
{
    return {{"name", name}, {"detail", detail}, {"kind", kind}, {"range", Range(range)},
            {"selectionRange", Range(selection)}};
}

nlohmann::json CLspOutline::Range(CLspRuleMap::Span span) const
{
    const LspPosition start = document_.PositionOf(span.start);
    const LspPosition end = document_.PositionOf(span.end);
    return {{"start", {{"line", start.line}, {"character", start.character}}},
            {"end", {{"line", end.line}, {"character", end.character}}}};
}
