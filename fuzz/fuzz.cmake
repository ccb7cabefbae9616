# The fuzz targets. receivablesFuzz: random host records through the whole computation, under
# AddressSanitizer and UndefinedBehaviorSanitizer, checked against the literal
# oracle. Needs clang's libFuzzer. fuzz/run.sh runs it for as long as asked;
# ctest runs a short bounded run.
if(CMAKE_CXX_COMPILER_ID MATCHES "Clang")
  portable_library(portableFuzz ${SANITIZE} -fsanitize=fuzzer-no-link)
  add_executable(receivablesFuzz ${CMAKE_SOURCE_DIR}/fuzz/receivablesFuzz.cpp)
  target_link_libraries(receivablesFuzz PRIVATE portableFuzz)
  target_compile_options(receivablesFuzz PRIVATE -fsanitize=fuzzer)
  target_link_options(receivablesFuzz PRIVATE -fsanitize=fuzzer)
  add_test(NAME fuzz.short COMMAND receivablesFuzz -runs=20000 -seed=1 -print_final_stats=1)
  # About 6 s here: a hang (a loop in the computation) is named in minutes.
  set_tests_properties(fuzz.short PROPERTIES TIMEOUT 300)
endif()

# ledgerFuzz: random bytes through the simulator's ledger reader, from a seed
# ledger and a dictionary of the format's names.
if(CMAKE_CXX_COMPILER_ID MATCHES "Clang")
  add_executable(ledgerFuzz ${CMAKE_SOURCE_DIR}/fuzz/ledgerFuzz.cpp)
  target_link_libraries(ledgerFuzz PRIVATE portableFuzz)
  target_compile_options(ledgerFuzz PRIVATE -fsanitize=fuzzer)
  target_link_options(ledgerFuzz PRIVATE -fsanitize=fuzzer)
  add_test(NAME fuzz.ledger.short
    COMMAND ledgerFuzz -runs=20000 -seed=1 -print_final_stats=1 -dict=${CMAKE_SOURCE_DIR}/fuzz/ledger.dict
            -seed_inputs=${CMAKE_SOURCE_DIR}/fuzz/ledgerSeed.json)
  set_tests_properties(fuzz.ledger.short PROPERTIES TIMEOUT 300)
endif()
