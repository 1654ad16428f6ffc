#include <windows.h>

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
