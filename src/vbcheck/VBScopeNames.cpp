#include "vbcheck/VBScopeNames.h"

#include <algorithm>

#include "vbcheck/VBNameKey.h"

void CVBScopeNames::KeyOf(const VBToken& name)
{
    NameKeyInto(WithoutTypeSuffix(name), key_);
}

bool CVBScopeNames::Declare(const VBToken& name, bool inProcedure)
{
    KeyOf(name);
    if (!inProcedure) {
        long& seen = module_.Value(key_);
        return seen++ == 0;
    }
    if (std::find(local_.begin(), local_.end(), key_) != local_.end())
        return false;
    local_.push_back(key_);
    return true;
}

bool CVBScopeNames::Has(const VBToken& name)
{
    KeyOf(name);
    return module_.ValueOf(key_) != 0 || std::find(local_.begin(), local_.end(), key_) != local_.end();
}
