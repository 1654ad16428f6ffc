# The Wine prefixes of the Windows tests, under build/ unless QELVANE_WINEPREFIX or QELVANE_XP_PREFIX (from the
# environment at configure time) names another folder. scripts/test.sh makes the 64-bit one before CTest starts,
# since CTest lists the in-process tests by running their binary there; the others are made by fixtures
# (wine_prefix.cmake, which leaves a prefix that is ready as it is).
set(QELVANE_PREFIX_64 $ENV{QELVANE_WINEPREFIX})
set(QELVANE_PREFIX_XP $ENV{QELVANE_XP_PREFIX})
if(NOT QELVANE_PREFIX_64)
  set(QELVANE_PREFIX_64 ${PROJECT_SOURCE_DIR}/build/wineprefix)
endif()
if(NOT QELVANE_PREFIX_XP)
  set(QELVANE_PREFIX_XP ${PROJECT_SOURCE_DIR}/build/wineprefix-xp)
endif()
set(QELVANE_PREFIX_DPI ${PROJECT_SOURCE_DIR}/build/wineprefix-dpi)

# prefix-dpi: a copy of the 64-bit prefix, which must be idle meanwhile; prefix-xp: the Windows XP prefix.
foreach(kind dpi xp)
  string(TOUPPER ${kind} upper)
  set(lane ${upper})
  set(locks prefix-${kind})
  if(kind STREQUAL "dpi")
    set(lane 64)
    list(APPEND locks prefix-x64)
  endif()
  if(QELVANE_LANE_${lane}_OFF)
    continue()
  endif()
  add_test(NAME prefix.${kind} COMMAND ${CMAKE_COMMAND} -D KIND=${kind} -D PREFIX=${QELVANE_PREFIX_${upper}}
           -D FROM=${QELVANE_PREFIX_64} -P ${PROJECT_SOURCE_DIR}/cmake/wine_prefix.cmake)
  set_tests_properties(prefix.${kind} PROPERTIES FIXTURES_SETUP prefix-${kind} TIMEOUT 600 RESOURCE_LOCK "${locks}")
endforeach()
