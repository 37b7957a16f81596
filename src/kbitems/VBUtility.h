#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "common/GrowingText.h"

// Stateless VB text routines of the KB items: array blocks, argument lists, routine renaming.
class CVBUtility {
public:
    // Appends "  Dim <array>(<n>) As Variant" and one element line per list entry, made from
    // elementTemplate (ITEM_00001 array name, ITEM_00002 index, ITEM_00003 entry).
    static void MakeArrayBlock(const std::string& arrayName, std::string_view elementTemplate,
                               const std::vector<std::string>& list, CGrowingText& target);
    static void MakeArrayBlock(const std::string& arrayName, std::string_view elementTemplate,
                               const std::vector<std::string>& list, std::string& target);
    // Appends the arguments of a dispatch call: one per comma of the routine's first parameter
    // list, less skipCount, each made from argumentTemplate with ITEM_00001 as its index.
    static void MakeArgumentList(const std::string& code, std::string& target, int skipCount,
                                 std::string_view argumentTemplate);
    // Renames the routine oldName to newName wherever the code names it, as VB compares names
    // (ignoring case): never in a string or a comment, nor a member of another object.
    static void RenameRoutine(std::string& code, const std::string& oldName,
                              const std::string& newName);
    // True when RenameRoutine would find name in code: the code declares, calls or assigns a
    // routine of that name.
    static bool FindsRoutine(const std::string& code, const std::string& name);
    // A letter, then letters, digits and "_". Bytes past ASCII count as letters: VB takes the
    // letters of the system code page, which this text cannot tell from other characters.
    static bool IsVBName(std::string_view name);
};
