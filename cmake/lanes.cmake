# The lanes of the Windows tests, decided once, when the test tree is configured:
# 64 (the in-process tests and the x86-64 program in the 64-bit prefix) always, and
# xp (the i686 program in the Windows XP prefix) where this machine starts 32-bit
# programs. QELVANE_LANES=64, xp or 64,xp (from the environment) chooses by hand;
# asking for the xp lane where it cannot run is an error.
#
# Sets QELVANE_LANE_64_OFF and QELVANE_LANE_XP_OFF: empty where the lane runs, else why
# not. Writes them into lanes-off.txt in the build tree for the scripts ("LANE REASON").

set(_wanted "$ENV{QELVANE_LANES}")
if(_wanted STREQUAL "")
  set(_wanted "64,xp")
endif()
execute_process(COMMAND /usr/lib/wine/wine --version RESULT_VARIABLE _rc OUTPUT_QUIET ERROR_VARIABLE _err
                TIMEOUT 60)
set(_xp_cannot "")
if(NOT _rc EQUAL 0)
  string(REGEX REPLACE "\n.*" "" _err "${_err}")
  set(_xp_cannot "this machine cannot start 32-bit programs (/usr/lib/wine/wine --version: exit ${_rc}, ${_err})")
endif()

set(QELVANE_LANE_64_OFF "not chosen (QELVANE_LANES=${_wanted})")
set(QELVANE_LANE_XP_OFF "not chosen (QELVANE_LANES=${_wanted})")
string(REPLACE "," ";" _lanes "${_wanted}")
foreach(_lane IN LISTS _lanes)
  if(_lane STREQUAL "64")
    set(QELVANE_LANE_64_OFF "")
  elseif(NOT _lane STREQUAL "xp")
    message(FATAL_ERROR "QELVANE_LANES=${_wanted}: no lane \"${_lane}\" (64, xp or 64,xp)")
  elseif(_xp_cannot STREQUAL "")
    set(QELVANE_LANE_XP_OFF "")
  elseif(NOT "$ENV{QELVANE_LANES}" STREQUAL "")
    message(FATAL_ERROR "QELVANE_LANES=${_wanted} asks for the xp lane, but ${_xp_cannot}")
  else()
    set(QELVANE_LANE_XP_OFF "${_xp_cannot}")
  endif()
endforeach()

set(_said "")
file(WRITE ${CMAKE_BINARY_DIR}/lanes-off.txt "")
foreach(_lane 64 XP)
  string(TOLOWER ${_lane} _name)
  if(QELVANE_LANE_${_lane}_OFF STREQUAL "")
    string(APPEND _said " ${_name} runs;")
  else()
    string(APPEND _said " ${_name} does not: ${QELVANE_LANE_${_lane}_OFF};")
    file(APPEND ${CMAKE_BINARY_DIR}/lanes-off.txt "${_name} ${QELVANE_LANE_${_lane}_OFF}\n")
  endif()
endforeach()
string(REGEX REPLACE ";$" "" _said "${_said}")
message(STATUS "lanes:${_said}")

# A test of a lane that does not run: CTest reports it skipped, with the reason in its output.
function(qelvane_skipped_test name lane)
  string(TOUPPER ${lane} _lane)
  add_test(NAME ${name} COMMAND ${CMAKE_COMMAND} -E echo
           "skipped: the ${lane} lane does not run here: ${QELVANE_LANE_${_lane}_OFF}")
  set_tests_properties(${name} PROPERTIES SKIP_REGULAR_EXPRESSION "^skipped: ")
endfunction()
