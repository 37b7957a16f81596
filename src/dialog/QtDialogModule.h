#pragma once

#include <string>
#include <vector>

// The Qt dialog lives in a module of its own, which the program loads only when the dialog opens,
// so that the batch and --version never load Qt or X. The module finds the dialog's logic and the
// driver in the program, which exports them.

// Installed in this folder, relative to the program's own.
constexpr const char* kQtDialogModuleFolder = "../lib/rulecast/";
constexpr const char* kQtDialogModuleName = "librulecast-qt.so";
constexpr const char* kQtDialogEntryName = "RulecastRunQtDialog";

// The module's one entry, named by kQtDialogEntryName: runs the dialog as RunMainDialog does.
extern "C" int RulecastRunQtDialog(const std::vector<std::string>& words, const std::string& ruleFile);
using QtDialogEntry = decltype(&RulecastRunQtDialog);

// The program's, for the module: says that no display is available and how to convert without
// one; returns the exit status.
int RefuseWithoutDisplay();
