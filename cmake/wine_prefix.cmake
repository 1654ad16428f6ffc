# Makes a Wine prefix when it is missing or empty, and again when it was made with another
# Wine; then applies the settings the programs and tests need. Run as a script:
#   cmake -D KIND=64|xp|dpi -D PREFIX=<folder> [-D FROM=<64-bit prefix, for dpi>]
#         [-D DPI=<n>] [-D DESKTOP=<WxH>] -P cmake/wine_prefix.cmake
# QELVANE_CJK_FONT names another face for the CJK text.
# 64: 64-bit; xp: 32-bit, reporting Windows XP; dpi: a copy of the 64-bit prefix, in which the
# tests of the windows at larger text sizes set their resolution. A folder that is not empty
# and has no stamp is not ours (say, ~/.wine): it is never removed. Nothing is left half made
# under the prefix's name: a copy is made beside it and renamed when whole, a prefix to be made
# again is renamed before it is removed, and a prefix that Wine fills in place is stamped
# "unfinished" until it is done.
cmake_minimum_required(VERSION 3.25)
string(REGEX REPLACE "/$" "" PREFIX "${PREFIX}")
set(CJK_FONT "$ENV{QELVANE_CJK_FONT}")
if(NOT CJK_FONT)
  set(CJK_FONT "AR PL UMing CN")
endif()
if(NOT DPI)
  set(DPI 96)
endif()
set(ENV{WINEPREFIX} "${PREFIX}")
set(ENV{WINEARCH} win64)
set(loader /usr/lib/wine/wine64)
if(KIND STREQUAL "xp")
  set(ENV{WINEARCH} win32)
  set(loader /usr/lib/wine/wine)
elseif(NOT KIND MATCHES "^(64|dpi)$")
  message(FATAL_ERROR "failed: no prefix kind \"${KIND}\" (64, xp or dpi)")
endif()
if(NOT DEFINED ENV{WINEDEBUG})
  set(ENV{WINEDEBUG} -all)
endif()
# No Mono/Gecko installers, no Linux browser, no menu entries or file types in the home folder.
if(NOT DEFINED ENV{WINEDLLOVERRIDES})
  set(ENV{WINEDLLOVERRIDES} "mscoree,mshtml=;winebrowser.exe=d;winemenubuilder.exe=d")
endif()

# Runs a command; stops with its last output lines when it fails.
function(run)
  execute_process(COMMAND ${ARGN} RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE out TIMEOUT 600)
  if(NOT rc EQUAL 0)
    string(REGEX MATCH "[^\n]*(\n[^\n]*)?(\n[^\n]*)?\n?$" tail "${out}")
    message(FATAL_ERROR "${tail}failed: ${ARGN} (exit ${rc})")
  endif()
endfunction()

# What made a prefix: one made by another Wine installation or architecture fails to start
# ("could not load kernel32.dll"), so it is made again, never reused.
function(stamp_of kind out_var)
  execute_process(COMMAND ${loader} --version OUTPUT_VARIABLE version ERROR_VARIABLE version)
  execute_process(COMMAND dpkg-query -W "-f=\${Package}:\${Architecture} \${Version}\n"
                  wine64 wine32:i386 libwine libwine:i386 OUTPUT_VARIABLE packages ERROR_QUIET)
  set(${out_var} "${kind} $ENV{WINEARCH} ${version}${packages}" PARENT_SCOPE)
endfunction()

# The stamp a prefix carries, empty when it has none.
function(stamp_in folder out_var)
  set(found "")
  if(EXISTS "${folder}/.qelvane-stamp")
    file(READ "${folder}/.qelvane-stamp" found)
  endif()
  set(${out_var} "${found}" PARENT_SCOPE)
endfunction()

# What an interrupted run left: a copy not yet in place, a prefix not yet removed.
file(REMOVE_RECURSE "${PREFIX}.qelvane-new" "${PREFIX}.qelvane-old")
set(stamp_file "${PREFIX}/.qelvane-stamp")
file(GLOB children LIST_DIRECTORIES true "${PREFIX}/*")
if(NOT EXISTS "${stamp_file}" AND (children OR (EXISTS "${PREFIX}" AND NOT IS_DIRECTORY "${PREFIX}")))
  message(FATAL_ERROR "failed: Wine prefix ${PREFIX}: not empty and not made by these scripts "
          "(no .qelvane-stamp), so left as it is; choose a new or empty folder")
endif()
stamp_of(${KIND} stamp)
stamp_in("${PREFIX}" old_stamp)

if(NOT old_stamp STREQUAL stamp)
  message(STATUS "making Wine prefix ${PREFIX} (${KIND})")
  execute_process(COMMAND wineserver -k OUTPUT_QUIET ERROR_QUIET)
  if(EXISTS "${PREFIX}" OR IS_SYMLINK "${PREFIX}")
    file(RENAME "${PREFIX}" "${PREFIX}.qelvane-old")
    file(REMOVE_RECURSE "${PREFIX}.qelvane-old")
  endif()
  if(KIND STREQUAL "dpi")
    # Wine reads the resolution as each process starts, and a test sets it for the whole
    # prefix: a copy, so that it never reaches the other tests.
    stamp_of(64 from_stamp)
    stamp_in("${FROM}" from_found)
    if(NOT from_found STREQUAL from_stamp)
      message(FATAL_ERROR "failed: Wine prefix ${FROM}: not ready, so not copied into ${PREFIX}")
    endif()
    run(${CMAKE_COMMAND} -E env WINEPREFIX=${FROM} wineserver -w)
    run(cp -a -T "${FROM}" "${PREFIX}.qelvane-new")
    file(WRITE "${PREFIX}.qelvane-new/.qelvane-stamp" "${stamp}")
    file(RENAME "${PREFIX}.qelvane-new" "${PREFIX}")
  else()
    file(MAKE_DIRECTORY "${PREFIX}")
    file(WRITE "${stamp_file}" "unfinished\n")
    run(${loader} wineboot.exe -i)
    if(KIND STREQUAL "xp")
      run(${loader} winecfg.exe -v winxp)
    endif()
    run(wineserver -w)
    file(WRITE "${stamp_file}" "${stamp}")
  endif()
endif()

# A Song face with CJK glyphs for the faces the windows ask for, as on a Chinese Windows
# (docs/wine-notes.md says why this one); no window manager (Xvfb), so Wine must not wait for
# one on every hide; smoothed text, as Windows shows it: small CJK glyphs are unreadable without.
execute_process(COMMAND fc-list "${CJK_FONT}" family OUTPUT_VARIABLE families)
if(families STREQUAL "")
  message(FATAL_ERROR "failed: no font \"${CJK_FONT}\" installed (fc-list)")
endif()
math(EXPR dpi_hex "${DPI}" OUTPUT_FORMAT HEXADECIMAL)
string(REGEX REPLACE "^0x" "0000000" dpi_hex "${dpi_hex}")
string(REGEX MATCH "........$" dpi_hex "${dpi_hex}")
set(reg "Windows Registry Editor Version 5.00\n\n[HKEY_CURRENT_USER\\Software\\Wine\\Fonts\\Replacements]\n")
foreach(face 宋体 SimSun 新宋体 NSimSun Tahoma "MS Shell Dlg" "MS Shell Dlg 2" "MS Sans Serif" "Microsoft Sans Serif")
  string(APPEND reg "\"${face}\"=\"${CJK_FONT}\"\n")
endforeach()
string(APPEND reg "\n[HKEY_CURRENT_USER\\Software\\Wine\\X11 Driver]\n\"Managed\"=\"N\"\n"
       "\n[HKEY_CURRENT_USER\\Control Panel\\Desktop]\n\"LogPixels\"=dword:${dpi_hex}\n"
       "\"FontSmoothing\"=\"2\"\n\"FontSmoothingType\"=dword:00000002\n\"FontSmoothingGamma\"=dword:00000578\n"
       "\"FontSmoothingOrientation\"=dword:00000001\n"
       "\n[HKEY_CURRENT_CONFIG\\Software\\Fonts]\n\"LogPixels\"=dword:${dpi_hex}\n")
# Every program of the prefix in one virtual desktop with window frames.
if(DESKTOP)
  string(APPEND reg "\n[HKEY_CURRENT_USER\\Software\\Wine\\Explorer]\n\"Desktop\"=\"Default\"\n"
         "\n[HKEY_CURRENT_USER\\Software\\Wine\\Explorer\\Desktops]\n\"Default\"=\"${DESKTOP}\"\n")
endif()
string(REPLACE "\n" "\r\n" reg "${reg}")
# Inside drive C, so that Wine is given its path without winepath (the 32-bit loader, which
# cannot start on every machine); UTF-16 with a byte-order mark, for the CJK names.
set(reg_file "${PREFIX}/drive_c/qelvane-settings.reg")
file(WRITE "${reg_file}.utf8" "${reg}")
run(iconv -f UTF-8 -t UTF-16 -o "${reg_file}" "${reg_file}.utf8")
file(REMOVE "${reg_file}.utf8")
# regedit exits 0 even when it read nothing: one of the values is asked for instead.
execute_process(COMMAND ${loader} regedit /S "C:\\qelvane-settings.reg" OUTPUT_QUIET ERROR_QUIET)
run(${loader} reg query "HKCU\\Software\\Wine\\Fonts\\Replacements" /v SimSun)
