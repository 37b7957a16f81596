#pragma once

// The ids of the Windows program's resources, shared by resources/rulecast.rc and the dialog's
// window. Plain macros, as the resource compiler reads them too.
#define IDD_RULECAST 102
#define IDR_MAINFRAME 128
#define IDC_VIEW_LOG 1000
#define IDC_RULE_PATH 1001
#define IDC_TARGET_FOLDER 1002
#define IDC_BROWSE_RULE 1003
#define IDC_BROWSE_FOLDER 1004
