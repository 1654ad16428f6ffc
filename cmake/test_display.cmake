# Sets the display's resolution and the screen (a Wine virtual desktop of that size) for the
# next test in the prefix WINEPREFIX; they stay there, and Wine reads them as each process
# starts. The desktop is named after its size: one still open keeps the size it opened with.
#   cmake -D DPI=<n> -D DESKTOP=<WxH> -D LOADER=<wine loader> -P cmake/test_display.cmake
# regedit says nothing of what it could not read: the tests check both themselves.
cmake_minimum_required(VERSION 3.25)
if(NOT DPI OR NOT DESKTOP)
  message(FATAL_ERROR "failed: a test at a resolution (DPI) names its screen (DESKTOP) too")
endif()
math(EXPR hex "${DPI}" OUTPUT_FORMAT HEXADECIMAL)
string(REGEX REPLACE "^0x" "0000000" hex "${hex}")
string(REGEX MATCH "........$" hex "${hex}")
string(CONCAT reg "REGEDIT4\r\n"
       "\r\n[HKEY_CURRENT_USER\\Control Panel\\Desktop]\r\n\"LogPixels\"=dword:${hex}\r\n"
       "\r\n[HKEY_CURRENT_CONFIG\\Software\\Fonts]\r\n\"LogPixels\"=dword:${hex}\r\n"
       "\r\n[HKEY_CURRENT_USER\\Software\\Wine\\Explorer]\r\n\"Desktop\"=\"qelvane-${DESKTOP}\"\r\n"
       "\r\n[HKEY_CURRENT_USER\\Software\\Wine\\Explorer\\Desktops]\r\n\"qelvane-${DESKTOP}\"=\"${DESKTOP}\"\r\n")
file(WRITE "$ENV{WINEPREFIX}/drive_c/qelvane-test-settings.reg" "${reg}")
execute_process(COMMAND ${LOADER} regedit /S "C:\\qelvane-test-settings.reg" RESULT_VARIABLE rc
                OUTPUT_QUIET ERROR_QUIET TIMEOUT 60)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "failed: regedit of the resolution and screen in $ENV{WINEPREFIX}")
endif()
