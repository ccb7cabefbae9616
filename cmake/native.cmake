# Native build of the portable logic: receivables, ui, the simulator's host model.
find_package(GTest REQUIRED)

set(SANITIZE -fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer)
file(GLOB PORTABLE_SOURCES CONFIGURE_DEPENDS
  ${CMAKE_SOURCE_DIR}/receivables/*.cpp ${CMAKE_SOURCE_DIR}/ui/*.cpp
  ${CMAKE_SOURCE_DIR}/sim/core/*.cpp ${CMAKE_SOURCE_DIR}/tests/support/*.cpp)

function(portable_library name)
  add_library(${name} STATIC ${PORTABLE_SOURCES})
  target_include_directories(${name} PUBLIC ${CMAKE_SOURCE_DIR})
  target_compile_options(${name} PUBLIC -Wall -Wextra ${ARGN})
  target_link_options(${name} PUBLIC ${ARGN})
endfunction()

portable_library(portableSanitized ${SANITIZE})
file(GLOB UNIT_TESTS CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/unit/*.cpp)
if(UNIT_TESTS)
  add_executable(unitTests ${UNIT_TESTS})
  target_link_libraries(unitTests PRIVATE portableSanitized GTest::gtest GTest::gtest_main)
  # One ctest test per test case, each with a limit: a hang names its case.
  # Every case takes well under 5 s here with the sanitizers.
  include(GoogleTest)
  gtest_discover_tests(unitTests PROPERTIES TIMEOUT 60 DISCOVERY_TIMEOUT 60)
endif()

include(${CMAKE_SOURCE_DIR}/fuzz/fuzz.cmake OPTIONAL)
include(${CMAKE_SOURCE_DIR}/bench/bench.cmake OPTIONAL)
include(${CMAKE_SOURCE_DIR}/tests/exhaustive/exhaustive.cmake)
