# The benchmark: the whole computation against the simulated host, in-process,
# optimised and without sanitizers. Run build/native/receivablesBench; it
# prints a table and is no test.
portable_library(portablePlain -O2)
add_executable(receivablesBench ${CMAKE_SOURCE_DIR}/bench/receivablesBench.cpp)
target_link_libraries(receivablesBench PRIVATE portablePlain)
