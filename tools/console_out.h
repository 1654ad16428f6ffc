// Standard output for the test-only tools: UTF-16 text converted to a code page.
#pragma once

#include <windows.h>

#include <string>

inline std::string Encoded(const std::wstring& text, UINT codePage) {
    const int length = static_cast<int>(text.size());
    const int size = WideCharToMultiByte(codePage, 0, text.data(), length, nullptr, 0, nullptr, nullptr);
    std::string bytes(static_cast<std::size_t>(size), '\0');
    WideCharToMultiByte(codePage, 0, text.data(), length, &bytes[0], size, nullptr, nullptr);
    return bytes;
}

inline void WriteOut(const std::wstring& text, UINT codePage = CP_UTF8) {
    const std::string bytes = Encoded(text, codePage);
    DWORD written = 0;
    WriteFile(GetStdHandle(STD_OUTPUT_HANDLE), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
}
