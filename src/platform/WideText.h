#pragma once

#include <string>

// The program's UTF-8 text at the boundary of the wide-character Win32 API. Bytes that are not
// UTF-8 become U+FFFD, as no UTF-16 name can hold them.
std::wstring WideText(const std::string& utf8);
std::string Utf8Text(const wchar_t* wide, size_t length);
std::string Utf8Text(const std::wstring& wide);
