#include "winui/message_loop.h"

#include "winui/dialog_keys.h"

namespace winui {

void PumpEvents() {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_QUIT) {
            PostQuitMessage(static_cast<int>(msg.wParam));
            return;
        }
        DispatchWithDialogKeys(msg);
    }
}

int RunMessageLoop() {
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) DispatchWithDialogKeys(msg);
    return static_cast<int>(msg.wParam);
}

}  // namespace winui
