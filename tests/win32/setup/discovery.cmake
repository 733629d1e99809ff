# Address discovery tests, included from tests/win32/setup/CMakeLists.txt.
lanvora_add_gtest(local_addresses_test
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/LocalAddressesTest.cpp
  LIBS discovery ws2_32)
