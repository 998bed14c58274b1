# lorvane_add_test(<name> SOURCES ... [LIBS ...] [RESOURCES])
# A GoogleTest executable for Windows, run by CTest under Wine (the toolchain's emulator).
include(GoogleTest)

set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
set(BUILD_GMOCK ON CACHE BOOL "" FORCE)
set(gtest_disable_pthreads OFF CACHE BOOL "" FORCE)
add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/_googletest EXCLUDE_FROM_ALL)

function(lorvane_add_test name)
  cmake_parse_arguments(T "RESOURCES" "" "SOURCES;LIBS" ${ARGN})
  set(sources ${T_SOURCES})
  if(T_RESOURCES)
    list(APPEND sources ${LORVANE_RC})
  endif()
  add_executable(${name} ${sources})
  if(T_RESOURCES)
    add_dependencies(${name} lorvane_resources)
  endif()
  target_include_directories(${name} PRIVATE ${CMAKE_SOURCE_DIR} ${CMAKE_CURRENT_SOURCE_DIR})
  # test_support brings main() and the message-box answerer.
  target_link_libraries(${name} PRIVATE test_support)
  target_link_libraries(${name} PRIVATE ${T_LIBS} gtest gmock)
  gtest_discover_tests(${name}
    DISCOVERY_MODE PRE_TEST
    DISCOVERY_TIMEOUT 120
    PROPERTIES TIMEOUT 120 LABELS wine)
endfunction()
