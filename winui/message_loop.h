// The program's message loop and its single event pump.
#pragma once

namespace winui {

// Processes every pending message and returns when the queue is empty, without
// sleeping. A WM_QUIT met here is posted again for the loop below it.
void PumpEvents();
// The program's message loop, until WM_QUIT; returns its exit code.
int RunMessageLoop();

}  // namespace winui
