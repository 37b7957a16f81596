#pragma once

#include <string>
#include <unordered_map>
#include <vector>

#include "vbcheck/VBToken.h"
#include "vbcheck/VBWords.h"

// The value of a conditional-compilation expression: whole numbers, True as -1, VB6's own
// constants and the module's #Const values, any other name Empty (0). What cannot be read is 0,
// which takes the #Else branch: VB6 would have refused the line itself.
class CVBConditionEvaluator {
public:
    CVBConditionEvaluator(const std::vector<VBToken>& tokens, size_t from,
                          const std::unordered_map<std::string, long long>& constants)
        : tokens_(tokens), pos_(from), constants_(constants)
    {
    }
    long long Value();

private:
    long long Binary(int level);
    long long Unary();
    long long Operand();
    int Precedence(const VBToken& token) const;
    long long Apply(VBOperator op, long long a, long long b) const;

    const std::vector<VBToken>& tokens_;
    size_t pos_;
    const std::unordered_map<std::string, long long>& constants_;
    int depth_ = 0;
    bool failed_ = false;
};
