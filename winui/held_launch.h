// Processes created suspended that run once another process has ended, so that a command
// takes effect only after the one it depends on. The caller's thread never waits.
#pragma once

#include <windows.h>

#include "winui/handles.h"

namespace winui {

using HeldKey = unsigned long;  // 0 names no held process

// Keeps the primary thread of a process created suspended until it is let go.
HeldKey Hold(UniqueHandle thread);

// Lets the held process run once `gate` is signalled (a process: once it has ended) or
// `limitMs` have passed, whichever comes first; at once when nothing can watch the gate.
void ReleaseWhenEnded(HeldKey key, UniqueHandle gate, DWORD limitMs);

// Lets the held process run at once; a key already let go is ignored.
void Release(HeldKey key);

// Lets every held process run at once: at the end of the program, before it terminates.
void ReleaseAllHeld();

}  // namespace winui
