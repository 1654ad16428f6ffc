// A kernel32 function that not every supported Windows has, looked up at run time so that
// the program still loads where it is missing (Windows XP). Null where the system lacks it.
#pragma once

#include <windows.h>

namespace winui {

template <typename Function>
Function Kernel32Function(const char* name) {
    return reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"kernel32.dll"), name)));
}

}  // namespace winui
