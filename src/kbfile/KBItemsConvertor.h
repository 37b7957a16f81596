#pragma once

#include <string>

#include "kbfile/KBReader.h"

class CLog;

// The rule-file reader.
class CKBItemsConvertor : public CKBReader {
public:
    CKBItemsConvertor();
    ~CKBItemsConvertor() override;

    bool LoadModule(std::string rulePath, std::string targetFolder) override;
    bool ReadItems() override;
    bool BuildProject() override;

private:
    CLog* log_;
};
