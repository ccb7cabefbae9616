# Win32 test pieces of the OS binding: the sources of osBindingTest beyond its
# main file and the probe module for delay-load routing.

target_sources(osBindingTest PRIVATE
  ${CMAKE_SOURCE_DIR}/tests/wine/osBinding/registerCall.S
  ${CMAKE_SOURCE_DIR}/tests/wine/osBinding/support.cpp
  ${CMAKE_SOURCE_DIR}/tests/wine/osBinding/guardsTests.cpp
  ${CMAKE_SOURCE_DIR}/tests/wine/osBinding/reportTests.cpp
  ${CMAKE_SOURCE_DIR}/tests/wine/osBinding/routingTests.cpp
  ${GEN}/importGuardTable.h)
# probeHostExport is exported under its plain name, as a host program would.
target_link_options(osBindingTest PRIVATE -Wl,--kill-at)
add_dependencies(osBindingTest korvandilek QATOM delayProbe)

file(GLOB DELAY_PROBE_DEFS ${CMAKE_SOURCE_DIR}/tests/wine/delayProbe/probe?*.def)
delay_import_tables(${GEN}/delayProbeImports ${DELAY_PROBE_DEFS})
add_library(delayProbe SHARED
  ${CMAKE_SOURCE_DIR}/binding/delayRouting.cpp
  ${CMAKE_SOURCE_DIR}/binding/delayLoadHelper.cpp
  ${CMAKE_SOURCE_DIR}/tests/wine/delayProbe/probe.cpp
  ${CMAKE_SOURCE_DIR}/tests/wine/delayProbe/probe.def
  ${GEN}/delayProbeImports.S)
set_target_properties(delayProbe PROPERTIES PREFIX "")
target_include_directories(delayProbe PRIVATE ${CMAKE_SOURCE_DIR} ${GEN})
target_compile_options(delayProbe PRIVATE -O2 -Wall -Wextra)
target_link_options(delayProbe PRIVATE -static-libgcc -static-libstdc++)
target_link_libraries(delayProbe PRIVATE ${GEN}/libqatom.a)
add_dependencies(delayProbe serviceTableFiles qatomImportLibrary)
add_custom_command(TARGET delayProbe POST_BUILD
  COMMAND ${Python3_EXECUTABLE} ${DELAY_IMPORT_FIXUP} $<TARGET_FILE:delayProbe>)
