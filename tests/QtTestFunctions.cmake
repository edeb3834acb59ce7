# Lists the test functions of one Qt Test program (its -functions option)
# and writes a ctest file with one case per function, so that a failure
# names the function. Run after each build of the program, like
# gtest_discover_tests does for GoogleTest:
#
#   cmake -D TEST_EXECUTABLE=... -D TEST_NAME=... -D CTEST_FILE=...
#         -D TEST_TIMEOUT=... -D TEST_STATE_HOME=DIR [-D TEST_ENVIRONMENT=NAME=VALUE] -P QtTestFunctions.cmake
#
# The cases of one program never run at the same time (a resource lock of
# the program's name): they may share fixed files, as they did when the
# program ran whole.
cmake_minimum_required(VERSION 3.25)

execute_process(
  COMMAND ${CMAKE_COMMAND} -E env QT_QPA_PLATFORM=offscreen ${TEST_EXECUTABLE} -functions
  OUTPUT_VARIABLE listing
  ERROR_VARIABLE errors
  RESULT_VARIABLE result
  TIMEOUT 60)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "${TEST_EXECUTABLE} -functions failed (${result}):\n${errors}")
endif()

string(REPLACE "\n" ";" lines "${listing}")
set(content "")
set(count 0)
foreach(line IN LISTS lines)
  string(STRIP "${line}" line)
  if(NOT line MATCHES "^([A-Za-z_][A-Za-z0-9_]*)\\(\\)$")
    continue()
  endif()
  set(function "${CMAKE_MATCH_1}")
  set(test "${TEST_NAME}.${function}")
  string(APPEND content
    "add_test([=[${test}]=] [=[${TEST_EXECUTABLE}]=] [=[${function}]=])\n"
    "set_tests_properties([=[${test}]=] PROPERTIES ENVIRONMENT [=[QT_QPA_PLATFORM=offscreen;XDG_STATE_HOME=${TEST_STATE_HOME};${TEST_ENVIRONMENT}]=]"
    " TIMEOUT ${TEST_TIMEOUT} RESOURCE_LOCK [=[${TEST_NAME}]=] LABELS qtest)\n")
  math(EXPR count "${count} + 1")
endforeach()
if(count EQUAL 0)
  message(FATAL_ERROR "${TEST_EXECUTABLE} -functions listed no test function:\n${listing}")
endif()

# Written only when it changes, so that ctest's view stays put between builds.
set(old "")
if(EXISTS "${CTEST_FILE}")
  file(READ "${CTEST_FILE}" old)
endif()
if(NOT old STREQUAL content)
  file(WRITE "${CTEST_FILE}" "${content}")
endif()
