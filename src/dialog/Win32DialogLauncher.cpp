#include "app/DialogLauncher.h"

#include <windows.h>
#include <commctrl.h>
#include <objbase.h>
#include <string_view>

#include "app/Batch.h"
#include "dialog/Win32RulecastDlg.h"
#include "platform/Console.h"

namespace {

constexpr std::string_view kNoWindow =
    "Rulecast: the dialog could not be shown; two arguments, a rule-file pattern and a target "
    "folder, convert without a window.";

// The program stays a console program, so that the batch writes to the console it was started
// from. Started from Explorer, Windows made a console for it alone; that one would stand empty
// beside the dialog, so it goes. A console shared with the shell that started the program stays.
void ReleaseOwnConsole()
{
    DWORD processes[2];
    if (::GetConsoleProcessList(processes, 2) == 1)
        ::FreeConsole();
}

}  // namespace

int RunMainDialog(const std::vector<std::string>&)
{
    ReleaseOwnConsole();
    // The folder chooser is a shell object, which needs COM on this thread.
    const HRESULT com = ::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE);
    const INITCOMMONCONTROLSEX controls{sizeof(INITCOMMONCONTROLSEX), ICC_STANDARD_CLASSES};
    ::InitCommonControlsEx(&controls);
    bool shown = false;
    {
        CWin32RulecastDlg dialog;
        shown = dialog.DoModal();
    }
    if (SUCCEEDED(com))
        ::CoUninitialize();
    if (!shown) {
        CConsole::Warn(kNoWindow);
        CBatch::ShowUsage();
        return CBatch::kUsageError;
    }
    return 0;
}
