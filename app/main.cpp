#include <windows.h>

#include <cstdlib>

#include "app/form1.h"
#include "winui/form.h"
#include "winui/hardening.h"
#include "winui/message_loop.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    winui::HardenProcess();  // before anything loads a DLL by name or starts a process
    winui::LoadCommonControls();
    try {
        qelvane::Form1::Instance().Show();
    } catch (const winui::WindowNotCreated&) {
        return 1;  // without its main window the program has nothing to offer
    }
    return winui::RunMessageLoop();
}

// The library's default terminate handler prints demangled type names and drags in
// the demangler; the program has nothing to print to.
namespace __gnu_cxx {
void __verbose_terminate_handler() { std::abort(); }
}  // namespace __gnu_cxx
