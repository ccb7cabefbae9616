# The plug-in and everything that runs under Wine.
set(GEN ${CMAKE_BINARY_DIR}/generated)
set(OUT ${CMAKE_BINARY_DIR}/bin)
file(MAKE_DIRECTORY ${GEN} ${OUT})
set(CMAKE_RUNTIME_OUTPUT_DIRECTORY ${OUT})
set(CMAKE_LIBRARY_OUTPUT_DIRECTORY ${OUT})

add_custom_command(
  OUTPUT ${GEN}/serviceTable.S ${GEN}/serviceTable.h
  COMMAND ${Python3_EXECUTABLE} ${CMAKE_SOURCE_DIR}/binding/genServices.py
          ${CMAKE_SOURCE_DIR}/binding/services.txt ${GEN}/serviceTable.S ${GEN}/serviceTable.h
  DEPENDS ${CMAKE_SOURCE_DIR}/binding/genServices.py ${CMAKE_SOURCE_DIR}/binding/services.txt
  COMMENT "Generating the host service table")
add_custom_target(serviceTableFiles DEPENDS ${GEN}/serviceTable.S ${GEN}/serviceTable.h)

# Freestanding code: no C runtime DLL, no exceptions, no RTTI.
set(PLUGIN_CXX_FLAGS -O2 -Wall -Wextra -fno-exceptions -fno-rtti -fno-threadsafe-statics
    -fno-asynchronous-unwind-tables -fno-stack-protector -mno-stack-arg-probe)

# The service table and its binder, shared by the plug-in and the binding tests.
add_library(serviceBinding STATIC ${GEN}/serviceTable.S binding/bindStub.S binding/bindService.cpp)
add_dependencies(serviceBinding serviceTableFiles)
target_include_directories(serviceBinding PUBLIC ${CMAKE_SOURCE_DIR} ${GEN})
target_compile_options(serviceBinding PRIVATE $<$<COMPILE_LANGUAGE:CXX>:${PLUGIN_CXX_FLAGS}>)

file(GLOB PLUGIN_SOURCES CONFIGURE_DEPENDS
  ${CMAKE_SOURCE_DIR}/runtime/*.cpp
  ${CMAKE_SOURCE_DIR}/frame/*.cpp ${CMAKE_SOURCE_DIR}/frame/*.S
  ${CMAKE_SOURCE_DIR}/binding/*.cpp ${CMAKE_SOURCE_DIR}/binding/*.S
  ${CMAKE_SOURCE_DIR}/receivables/*.cpp ${CMAKE_SOURCE_DIR}/ui/*.cpp)
list(REMOVE_ITEM PLUGIN_SOURCES ${CMAKE_SOURCE_DIR}/binding/bindStub.S
  ${CMAKE_SOURCE_DIR}/binding/bindService.cpp)
include(${CMAKE_SOURCE_DIR}/cmake/pluginLink.cmake OPTIONAL)

# The version resource, from the one VERSION file.
enable_language(RC)
file(STRINGS ${CMAKE_SOURCE_DIR}/VERSION KORV_VERSION LIMIT_COUNT 1)
if(NOT KORV_VERSION MATCHES "^[0-9]+\\.[0-9]+\\.[0-9]+$")
  message(FATAL_ERROR "VERSION: expected MAJOR.MINOR.PATCH, found '${KORV_VERSION}'")
endif()
string(REPLACE "." "," KORV_VERSION_COMMAS "${KORV_VERSION},0")
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/VERSION)
configure_file(${CMAKE_SOURCE_DIR}/frame/version.rc.in ${GEN}/version.rc @ONLY)

add_library(korvandilek SHARED ${PLUGIN_SOURCES} ${GEN}/version.rc
  ${CMAKE_SOURCE_DIR}/frame/korvandilek.def)
set_target_properties(korvandilek PROPERTIES PREFIX "" OUTPUT_NAME korvandilek)
target_include_directories(korvandilek PRIVATE ${CMAKE_SOURCE_DIR} ${GEN})
target_compile_options(korvandilek PRIVATE $<$<COMPILE_LANGUAGE:CXX>:${PLUGIN_CXX_FLAGS}>)
# The checkout's place stays out of the image and its debug information: the
# same commit gives the same bytes wherever it is built (scripts/release.sh).
set(PLUGIN_PREFIX_MAP $<$<COMPILE_LANGUAGE:C,CXX,ASM>:-ffile-prefix-map=${CMAKE_SOURCE_DIR}=.>)
target_compile_options(korvandilek PRIVATE ${PLUGIN_PREFIX_MAP})
target_compile_options(serviceBinding PRIVATE ${PLUGIN_PREFIX_MAP})
set_source_files_properties(${CMAKE_SOURCE_DIR}/runtime/runtime.cpp PROPERTIES
  COMPILE_OPTIONS "-ffreestanding;-fno-builtin;-fno-tree-loop-distribute-patterns;-Wno-attributes")
# GNU ld, not lld: lld writes 30,001 export entries for a lone ordinal 30001.
target_link_options(korvandilek PRIVATE -nostdlib -nostartfiles -Wl,-e,_libraryEntry@12
  -Wl,--enable-auto-image-base -Wl,--no-insert-timestamp)
target_link_libraries(korvandilek PRIVATE -Wl,--whole-archive serviceBinding -Wl,--no-whole-archive
  ${PLUGIN_EXTRA_LIBS} mingwex gcc kernel32)

# The host's fault handling, shared by the simulator and the Win32 tests.
add_library(faultGuard STATIC sim/win32/faultGuard.S sim/win32/faultGuard.cpp)
target_include_directories(faultGuard PUBLIC ${CMAKE_SOURCE_DIR})

# The host simulator.
file(GLOB SIM_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/sim/core/*.cpp
  ${CMAKE_SOURCE_DIR}/sim/win32/*.cpp ${CMAKE_SOURCE_DIR}/sim/win32/*.S)
list(REMOVE_ITEM SIM_SOURCES ${CMAKE_SOURCE_DIR}/sim/win32/faultGuard.S
  ${CMAKE_SOURCE_DIR}/sim/win32/faultGuard.cpp)
add_executable(vantreo-sim ${SIM_SOURCES})
target_include_directories(vantreo-sim PRIVATE ${CMAKE_SOURCE_DIR})
target_link_libraries(vantreo-sim PRIVATE faultGuard)
target_compile_options(vantreo-sim PRIVATE -O2 -Wall -Wextra)
target_link_options(vantreo-sim PRIVATE -static -static-libgcc -static-libstdc++)
add_dependencies(vantreo-sim korvandilek)

# Win32 test programs: each tests/wine/*.cpp is a program run under Wine. Their
# normal work in Wine starts, as measured (the rest: 3).
set(WINE_TEST_PACES_bindingTest 2)
set(WINE_TEST_PACES_lifecycleTest 4)
set(WINE_TEST_PACES_osBindingTest 4)
file(GLOB WINE_TESTS CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/wine/*Test.cpp)
foreach(src ${WINE_TESTS})
  get_filename_component(name ${src} NAME_WE)
  add_executable(${name} ${src})
  target_include_directories(${name} PRIVATE ${CMAKE_SOURCE_DIR} ${GEN})
  target_compile_options(${name} PRIVATE -O2 -Wall -Wextra)
  target_link_options(${name} PRIVATE -static -static-libgcc -static-libstdc++)
  target_link_libraries(${name} PRIVATE serviceBinding faultGuard)
  add_dependencies(${name} korvandilek)
  # Limited in proportion to Wine's pace on this machine (tests/pace.py): a
  # hang is named within minutes, under qemu too.
  if(NOT DEFINED WINE_TEST_PACES_${name})
    set(WINE_TEST_PACES_${name} 3)
  endif()
  add_test(NAME wine.${name}
    COMMAND ${Python3_EXECUTABLE} ${CMAKE_SOURCE_DIR}/tests/pace.py run ${WINE_TEST_PACES_${name}}
            wine.${name} -- ${CMAKE_SOURCE_DIR}/scripts/wine-run $<TARGET_FILE:${name}>
    WORKING_DIRECTORY ${OUT})
endforeach()
include(${CMAKE_SOURCE_DIR}/tests/wine/extra.cmake OPTIONAL)
