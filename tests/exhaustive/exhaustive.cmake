# The exhaustive comparison of the computation with the literal settlement
# on every small ledger: with the sanitizers for ctest's small bound, and
# optimised without them for scripts/exhaustive's larger ones.
add_executable(exhaustive ${CMAKE_SOURCE_DIR}/tests/exhaustive/exhaustive.cpp)
target_link_libraries(exhaustive PRIVATE portableSanitized)
add_test(NAME exhaustive.small COMMAND exhaustive --size 3)
set_tests_properties(exhaustive.small PROPERTIES TIMEOUT 60)

if(NOT TARGET portablePlain)
  portable_library(portablePlain -O2)
endif()
add_executable(exhaustiveFast ${CMAKE_SOURCE_DIR}/tests/exhaustive/exhaustive.cpp)
target_link_libraries(exhaustiveFast PRIVATE portablePlain)
