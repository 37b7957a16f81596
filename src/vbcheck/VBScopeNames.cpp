#include "vbcheck/VBScopeNames.h"

#include <algorithm>

#include "common/FoldCase.h"

void CVBScopeNames::KeyOf(const VBToken& name)
{
    FoldCaseInto(WithoutTypeSuffix(name), key_);
}

bool CVBScopeNames::Declare(const VBToken& name, bool inProcedure)
{
    KeyOf(name);
    if (!inProcedure) {
        bool added = false;
        module_.Value(key_, &added);
        return added;
    }
    if (std::find(local_.begin(), local_.end(), key_) != local_.end())
        return false;
    local_.push_back(key_);
    return true;
}
