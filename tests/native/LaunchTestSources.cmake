# The portable tests of the launch core, built for the host and for Windows alike.
set(LAUNCH_TEST_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/LaunchTest.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ReplaceTest.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ScriptCheckTest.cpp
  ${CMAKE_CURRENT_LIST_DIR}/SettingsFilesTest.cpp
  ${CMAKE_CURRENT_LIST_DIR}/TestFiles.cpp
  ${CMAKE_CURRENT_LIST_DIR}/TextRulesTest.cpp)
