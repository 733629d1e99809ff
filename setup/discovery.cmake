# Local address discovery (Windows Sockets 1.1), included from setup/CMakeLists.txt.
add_library(discovery STATIC ${CMAKE_CURRENT_LIST_DIR}/LocalAddresses.cpp)
target_include_directories(discovery PUBLIC ${CMAKE_SOURCE_DIR})
target_link_libraries(discovery PUBLIC wingui lobby)
