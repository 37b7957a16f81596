// Times the project builder alone, without reading a rule file: the items of a made-up module go
// straight to a CVBProjectBuilder. generation_bench ITEM_COUNT SEED TARGET_FOLDER [--no-log]
// The log goes into the target folder; with --no-log there is none.
#include <sys/resource.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <optional>
#include <string>

#include "RuleSynth.h"
#include "kbitems/KBDemon.h"
#include "kbitems/KBEvent.h"
#include "kbitems/KBFilter.h"
#include "kbitems/KBMethod.h"
#include "kbitems/KBRule.h"
#include "kbitems/KBSort.h"
#include "log/Log.h"
#include "vbproject/VBProjectBuilder.h"

namespace {

// The item as the reader would make it; a class block's name leads the Classlist of its members.
void AddItem(CVBProjectBuilder& builder, const SynthItem& item, const std::string* block)
{
    std::vector<std::string> classes;
    if (block)
        classes.push_back(*block);
    classes.insert(classes.end(), item.Classlist.begin(), item.Classlist.end());
    switch (item.kind) {
    case SynthKind::Demon:
        builder.AddDemon(std::make_unique<CKBDemon>(item.name, classes, false, item.casefixed,
                                                    item.PatternCode, item.ActionCode));
        break;
    case SynthKind::Event:
        builder.AddEvent(std::make_unique<CKBEvent>(item.name, classes, false, item.code));
        break;
    case SynthKind::Filter:
        builder.AddFilter(
            std::make_unique<CKBFilter>(item.name, item.displayname, "", item.code, classes));
        break;
    case SynthKind::Method:
        builder.AddMethod(std::make_unique<CKBMethod>(item.name, item.displayname, "", item.code,
                                                      item.interactive, item.secure,
                                                      item.casefixed, classes));
        break;
    case SynthKind::Rule:
        builder.AddRule(std::make_unique<CKBRule>(item.name, item.displayname, "", item.code,
                                                  item.interactive, item.secure, item.casefixed));
        break;
    case SynthKind::Sort:
        builder.AddSort(
            std::make_unique<CKBSort>(item.name, item.displayname, "", item.code, item.KeyList));
        break;
    }
}

double SecondsSince(std::chrono::steady_clock::time_point start)
{
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

}  // namespace

int main(int argc, char** argv)
{
    const bool noLog = argc == 5 && std::strcmp(argv[4], "--no-log") == 0;
    if (argc != 4 && !noLog) {
        std::fprintf(stderr, "usage: generation_bench ITEM_COUNT SEED TARGET_FOLDER [--no-log]\n");
        return 2;
    }
    const std::string target = argv[3];
    CLog::Restart(noLog ? std::nullopt : std::optional<std::string>(target + "/"));
    auto start = std::chrono::steady_clock::now();
    SynthModule module = CRuleSynth::Make(std::atoi(argv[1]), std::strtoull(argv[2], nullptr, 10));

    auto builder = std::make_unique<CVBProjectBuilder>(target);
    builder->SetModuleName(module.name);
    builder->SetGlobalCode(std::make_unique<CGlobalCode>(module.globalCode));
    for (const auto& child : module.children) {
        if (const auto* block = std::get_if<SynthClassblock>(&child))
            for (const SynthItem& member : block->members)
                AddItem(*builder, member, &block->name);
        else
            AddItem(*builder, std::get<SynthItem>(child), nullptr);
    }
    module = SynthModule();
    const double made = SecondsSince(start);

    start = std::chrono::steady_clock::now();
    const bool built = builder->Build();
    builder.reset();
    const double build = SecondsSince(start);

    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    std::printf("items made %.3f s, built %.3f s, peak %ld MB%s\n", made, build,
                usage.ru_maxrss / 1024, built ? "" : " (build FAILED)");
    return built ? 0 : 1;
}
