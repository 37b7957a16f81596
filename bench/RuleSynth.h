#pragma once

#include <cstdint>
#include <string>
#include <variant>
#include <vector>

// The content of a made-up rule file, in the rule file's own terms, so that the file writer and the
// generation driver work from the same items.
enum class SynthKind { Demon, Event, Filter, Method, Rule, Sort };

struct SynthItem {
    SynthKind kind = SynthKind::Rule;
    std::string name;
    std::string displayname;
    bool interactive = false;
    bool secure = false;
    bool casefixed = false;
    // The entries of the item's Classlist element; a class block's name is not among them.
    std::vector<std::string> Classlist;
    std::vector<std::string> KeyList;
    std::string code;
    std::string PatternCode;
    std::string ActionCode;
};

struct SynthClassblock {
    std::string name;
    std::vector<SynthItem> members;  // Methods and Events
};

struct SynthModule {
    std::string name;
    std::string globalCode;
    // The root's children in document order.
    std::vector<std::variant<SynthClassblock, SynthItem>> children;
};

// Makes a module of itemCount items in the proportions of a large plant model: mostly Methods and
// Rules, then Filters, Sorts, Events and Demons. The same seed gives the same module.
class CRuleSynth {
public:
    static SynthModule Make(int itemCount, uint64_t seed);
};
