// The download page and contact lines, shown by the main window and the help text and
// drawn into the banner (make_artwork.py beside this file reads the values from here).
#pragma once

#include <string_view>

namespace qelvane {

inline constexpr std::wstring_view kDownloadAddress = L"http://qv.example";
inline constexpr std::wstring_view kDownloadHost = L"qv.example";
inline constexpr std::wstring_view kSiteName = L"青蓝软件站";
inline constexpr std::wstring_view kMessengerAccount = L"80012345";
inline constexpr std::wstring_view kMailAddress = L"qelvane@qv.example";

}  // namespace qelvane
