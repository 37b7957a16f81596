// Writes a made-up rule file: generate_rules ITEM_COUNT SEED PATH
#include <cstdio>
#include <cstdlib>
#include <string>

#include "RuleFileWriter.h"
#include "RuleSynth.h"

int main(int argc, char** argv)
{
    if (argc != 4) {
        std::fprintf(stderr, "usage: generate_rules ITEM_COUNT SEED PATH\n");
        return 2;
    }
    const int itemCount = std::atoi(argv[1]);
    const SynthModule module = CRuleSynth::Make(itemCount, std::strtoull(argv[2], nullptr, 10));
    if (!CRuleFileWriter::Write(module, argv[3])) {
        std::fprintf(stderr, "cannot write %s\n", argv[3]);
        return 1;
    }
    return 0;
}
