# Test registration shared by every folder.
#
# Native test programs are ordinary GoogleTest executables. Win32 test programs run under
# Wine through tools/wine-test, which owns one Wine prefix of the build's architecture
# inside the build folder, one persistent wineserver for the whole CTest run and, when no
# DISPLAY is set, one Xvfb. The session is a CTest fixture, so `ctest -R name` starts and
# stops it too. Checks that read the built files without running them carry the label
# "static": they run on a host whose Wine cannot run the build.

set(LANVORA_WINE_TEST "${CMAKE_SOURCE_DIR}/tools/wine-test")
set(LANVORA_WINE_DIR "${CMAKE_BINARY_DIR}/wine")

if(WIN32 AND NOT LANVORA_WINE_FIXTURE_ADDED)
  set(LANVORA_WINE_FIXTURE_ADDED TRUE)
  add_test(NAME wine.session.start COMMAND ${LANVORA_WINE_TEST} ${LANVORA_WINE_DIR} start ${LANVORA_ARCH})
  add_test(NAME wine.session.stop COMMAND ${LANVORA_WINE_TEST} ${LANVORA_WINE_DIR} stop)
  set_tests_properties(wine.session.start PROPERTIES FIXTURES_SETUP wine TIMEOUT 300)
  set_tests_properties(wine.session.stop PROPERTIES FIXTURES_CLEANUP wine TIMEOUT 60)
endif()

# lanvora_add_gtest(<target> SOURCES ... LIBS ...)
# Builds a GoogleTest program and registers it: natively one CTest test per test case,
# under Wine one CTest test per program (Wine stays out of the build and of discovery).
function(lanvora_add_gtest target)
  cmake_parse_arguments(ARG "" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${target} ${ARG_SOURCES})
  if(LANVORA_RC_FILE IN_LIST ARG_SOURCES)
    set_source_files_properties(${LANVORA_RC_FILE} PROPERTIES OBJECT_DEPENDS "${LANVORA_RC_DEPENDS}")
  endif()
  target_link_libraries(${target} PRIVATE ${ARG_LIBS} gtest gtest_main)
  if(WIN32)
    lanvora_add_gtest_run(${target} ${target})
  else()
    include(GoogleTest)
    gtest_discover_tests(${target} DISCOVERY_TIMEOUT 60)
  endif()
endfunction()

# lanvora_add_gtest_run(<name> <target> [DPI <dpi>] [SYSTEM_FONTS] [FILTER <gtest filter>])
# Registers a run of a Win32 test program under Wine as a test. Besides the plain run, a
# program can run again under other display conditions, as a test of its own: the display at
# another dpi, and/or the fonts of a fresh prefix (tools/wine-test run --dpi, --system-fonts).
# For the layout tests, which must hold at every scale and with any fonts.
function(lanvora_add_gtest_run name target)
  cmake_parse_arguments(ARG "SYSTEM_FONTS" "DPI;FILTER" "" ${ARGN})
  set(options)
  if(ARG_DPI)
    list(APPEND options --dpi ${ARG_DPI})
  endif()
  if(ARG_SYSTEM_FONTS)
    list(APPEND options --system-fonts)
  endif()
  set(filter)
  if(ARG_FILTER)
    set(filter --gtest_filter=${ARG_FILTER})
  endif()
  add_test(NAME ${name}
           COMMAND ${LANVORA_WINE_TEST} ${LANVORA_WINE_DIR} run ${options} $<TARGET_FILE:${target}> ${filter}
           WORKING_DIRECTORY $<TARGET_FILE_DIR:${target}>)
  # Wine reports some crashes (a stack overflow, for one) with exit code 0, so the exit
  # code alone is not trusted: the run passes only when GoogleTest reached its summary
  # and no test failed.
  set_tests_properties(${name} PROPERTIES FIXTURES_REQUIRED wine TIMEOUT 600
                       RESOURCE_LOCK wine_desktop
                       PASS_REGULAR_EXPRESSION "\\[  PASSED  \\] [0-9]+ test"
                       FAIL_REGULAR_EXPRESSION "\\[  FAILED  \\]")
endfunction()

# lanvora_add_wine_command(<name> <command...>): a non-GoogleTest check that needs the
# Wine session (black-box scenarios, smoke runs).
function(lanvora_add_wine_command name)
  add_test(NAME ${name} COMMAND ${ARGN})
  set_tests_properties(${name} PROPERTIES FIXTURES_REQUIRED wine TIMEOUT 900
                       RESOURCE_LOCK wine_desktop
                       ENVIRONMENT "LANVORA_WINE_TEST=${LANVORA_WINE_TEST};LANVORA_WINE_DIR=${LANVORA_WINE_DIR}")
endfunction()
