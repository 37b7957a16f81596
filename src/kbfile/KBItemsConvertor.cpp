#include "kbfile/KBItemsConvertor.h"

#include "log/Log.h"

CKBItemsConvertor::CKBItemsConvertor() : log_(CLog::Instance()) {}

CKBItemsConvertor::~CKBItemsConvertor() = default;

// Reading rule files is not built yet: every step fails rather than pretend to convert.
bool CKBItemsConvertor::LoadModule(std::string, std::string)
{
    return false;
}

bool CKBItemsConvertor::ReadItems()
{
    return false;
}

bool CKBItemsConvertor::BuildProject()
{
    return false;
}
