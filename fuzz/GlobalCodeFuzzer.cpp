// Global code of any bytes: splitting must not crash, and its results must hang together.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "vbproject/GlobalCode.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    CGlobalCode code(std::string(reinterpret_cast<const char*>(data), size));
    code.Split();
    std::vector<std::string> names, bodies;
    const bool hasNames = code.GetClassNames(names);
    const bool hasBodies = code.GetClassBodies(bodies);
    if (hasNames != hasBodies || names.size() != bodies.size())
        std::abort();
    std::string module;
    code.GetModuleCode(module);
    // Every piece the builder writes is whole lines.
    if (!module.empty() && module.back() != '\n')
        std::abort();
    for (const std::string& body : bodies) {
        if (body.empty() || body.back() != '\n')
            std::abort();
    }

    // The read position only moves forward: a second split finds nothing more.
    code.Split();
    std::vector<std::string> namesAgain, bodiesAgain;
    std::string moduleAgain;
    code.GetClassNames(namesAgain);
    code.GetClassBodies(bodiesAgain);
    code.GetModuleCode(moduleAgain);
    if (namesAgain != names || bodiesAgain != bodies || moduleAgain != module)
        std::abort();
    return 0;
}
