#pragma once

#include <string>

#include "RuleSynth.h"

// Writes a made-up module as a rule file: indented elements, code in CDATA sections.
class CRuleFileWriter {
public:
    static bool Write(const SynthModule& module, const std::string& path);
};
