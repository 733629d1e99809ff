# The portable tests of the lobby core, built for the host and for Windows alike.
set(LOBBY_TEST_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/AdaptersTest.cpp
  ${CMAKE_CURRENT_LIST_DIR}/AnnounceScheduleTest.cpp
  ${CMAKE_CURRENT_LIST_DIR}/FoundEntriesTest.cpp
  ${CMAKE_CURRENT_LIST_DIR}/GroupCheckTest.cpp
  ${CMAKE_CURRENT_LIST_DIR}/LobbyPacketTest.cpp
  ${CMAKE_CURRENT_LIST_DIR}/PeerTableTest.cpp
  ${CMAKE_CURRENT_LIST_DIR}/SendPolicyTest.cpp
  ${CMAKE_CURRENT_LIST_DIR}/Sha256Test.cpp)
