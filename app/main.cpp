#include <windows.h>
#include <commctrl.h>

#include "app/form1.h"
#include "winui/form.h"
#include "winui/message_loop.h"

namespace {

// Keeps DLLs out of the current folder's reach. Looked up at run time because
// Windows XP before Service Pack 1 lacks the function.
void RemoveCurrentFolderFromDllSearch() {
    using SetDllDirectoryFn = BOOL(WINAPI*)(LPCWSTR);
    HMODULE kernel = GetModuleHandleW(L"kernel32.dll");
    auto setDllDirectory =
        reinterpret_cast<SetDllDirectoryFn>(reinterpret_cast<void*>(GetProcAddress(kernel, "SetDllDirectoryW")));
    if (setDllDirectory) setDllDirectory(L"");
}

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    RemoveCurrentFolderFromDllSearch();
    InitCommonControls();  // the manifest asks for version 6 of the common controls
    try {
        qelvane::Form1::Instance().Show();
    } catch (const winui::WindowNotCreated&) {
        return 1;  // without its main window the program has nothing to offer
    }
    return winui::RunMessageLoop();
}
