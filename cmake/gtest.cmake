# GoogleTest: Debian's package natively; its sources when cross-building for Windows.
if(CMAKE_CROSSCOMPILING)
  set(gtest_force_shared_crt OFF CACHE BOOL "" FORCE)
  set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
  add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
  # Newer googletest sources name their targets GTest:: themselves.
  if(NOT TARGET GTest::gtest_main)
    add_library(GTest::gtest_main ALIAS gtest_main)
    add_library(GTest::gtest ALIAS gtest)
  endif()
else()
  find_package(GTest REQUIRED)
endif()
include(GoogleTest)

# vardo_add_test(name sources... [LIBS libs...]): one test program, registered with CTest.
function(vardo_add_test name)
  cmake_parse_arguments(ARG "" "" "LIBS" ${ARGN})
  add_executable(${name} ${ARG_UNPARSED_ARGUMENTS})
  target_link_libraries(${name} PRIVATE ${ARG_LIBS} GTest::gtest_main)
  # Helpers that several test folders share live in tests/support.
  target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR}/tests)
  target_compile_definitions(${name} PRIVATE VARDO_TEST_DIR="${CMAKE_CURRENT_SOURCE_DIR}")
  # Under an emulator the first listing may also build Wine's prefix, which takes a while.
  set(discovery_timeout 5)
  if(CMAKE_CROSSCOMPILING)
    set(discovery_timeout 120)
  endif()
  gtest_discover_tests(${name} DISCOVERY_MODE PRE_TEST DISCOVERY_TIMEOUT ${discovery_timeout}
                       WORKING_DIRECTORY ${CMAKE_CURRENT_BINARY_DIR})
endfunction()
