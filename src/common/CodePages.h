#pragma once

#include <array>
#include <optional>
#include <string_view>

// The Windows code pages that rule files are read in and projects written in, each with the names
// it goes by. Both platforms take the same names to the same code page, so that a file reads to
// the same text and a project is written in the same bytes wherever the program runs: "shift_jis"
// is Windows' 932, in which 0x5C is the backslash, not the yen sign of the strict standard.
class CCodePages {
public:
    struct Page {
        unsigned number;
        std::array<std::string_view, 3> names;  // the unused ones empty
    };
    static constexpr unsigned kUtf8 = 65001;
    static constexpr Page kPages[] = {
        {874, {"windows-874", "cp874"}},
        {932, {"shift_jis", "windows-31j", "cp932"}},
        {936, {"gbk", "gb2312", "cp936"}},
        {949, {"euc-kr", "cp949"}},
        {950, {"big5", "cp950"}},
        {1250, {"windows-1250", "cp1250"}},
        {1251, {"windows-1251", "cp1251"}},
        {1252, {"windows-1252", "cp1252"}},
        {1253, {"windows-1253", "cp1253"}},
        {1254, {"windows-1254", "cp1254"}},
        {1255, {"windows-1255", "cp1255"}},
        {1256, {"windows-1256", "cp1256"}},
        {1257, {"windows-1257", "cp1257"}},
        {1258, {"windows-1258", "cp1258"}},
        {kUtf8, {"utf-8", "utf8"}},
    };

    // The code page of a number ("1252") or a name ("windows-1252", "CP1252", "Shift_JIS");
    // letter case does not count. None for anything else.
    static std::optional<unsigned> Find(std::string_view numberOrName);
};
