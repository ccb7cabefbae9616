# The plug-in's OS binding: delay-import tables, import guards, the QATOM.dll
# import and the post-link step that records the delay imports in the image.
# Included by cmake/cross.cmake before the plug-in's target is made.

set(DELAY_IMPORT_DEFS
  ${CMAKE_SOURCE_DIR}/binding/delayImports/32KAV.def
  ${CMAKE_SOURCE_DIR}/binding/delayImports/USER32.def
  ${CMAKE_SOURCE_DIR}/binding/delayImports/OLEAUT32.def)

# Delay tables from .def files: usable for the plug-in and for test modules.
function(delay_import_tables output_stem)
  add_custom_command(
    OUTPUT ${output_stem}.S ${output_stem}.h
    COMMAND ${Python3_EXECUTABLE} ${CMAKE_SOURCE_DIR}/binding/genDelayImports.py
            --source-root ${CMAKE_SOURCE_DIR} ${output_stem}.S ${output_stem}.h ${ARGN}
    DEPENDS ${CMAKE_SOURCE_DIR}/binding/genDelayImports.py ${ARGN}
    COMMENT "Generating delay-import tables ${output_stem}")
endfunction()

delay_import_tables(${GEN}/delayImports ${DELAY_IMPORT_DEFS})

add_custom_command(
  OUTPUT ${GEN}/importGuardTable.S ${GEN}/importGuardTable.h
  COMMAND ${Python3_EXECUTABLE} ${CMAKE_SOURCE_DIR}/binding/genImportGuards.py
          ${CMAKE_SOURCE_DIR}/binding/importGuards.txt
          ${GEN}/importGuardTable.S ${GEN}/importGuardTable.h
  DEPENDS ${CMAKE_SOURCE_DIR}/binding/genImportGuards.py ${CMAKE_SOURCE_DIR}/binding/importGuards.txt
  COMMENT "Generating the import guards")

# InterlockedExchange from QATOM.dll, imported at load time under its plain name.
# dlltool names the library's symbols after its path: given relative, the
# plug-in's symbol table stays the same wherever the checkout lies.
find_program(DLLTOOL NAMES i686-w64-mingw32-dlltool REQUIRED)
add_custom_command(
  OUTPUT ${GEN}/libqatom.a
  COMMAND ${DLLTOOL} -k -d ${CMAKE_SOURCE_DIR}/binding/qatom.def -l libqatom.a
  WORKING_DIRECTORY ${GEN}
  DEPENDS ${CMAKE_SOURCE_DIR}/binding/qatom.def
  COMMENT "Making the QATOM.dll import library")
add_custom_target(qatomImportLibrary DEPENDS ${GEN}/libqatom.a)

list(APPEND PLUGIN_SOURCES ${GEN}/delayImports.S ${GEN}/delayImports.h
  ${GEN}/importGuardTable.S ${GEN}/importGuardTable.h)
set(PLUGIN_EXTRA_LIBS ${GEN}/libqatom.a)

# The host ships QATOM.dll; the simulator and the tests use the project's own.
add_library(QATOM SHARED ${CMAKE_SOURCE_DIR}/sim/qatom/qatom.cpp
  ${CMAKE_SOURCE_DIR}/sim/qatom/qatom.def)
set_target_properties(QATOM PROPERTIES PREFIX "" OUTPUT_NAME QATOM)
target_link_options(QATOM PRIVATE -static-libgcc -Wl,--kill-at)

set(DELAY_IMPORT_FIXUP ${CMAKE_SOURCE_DIR}/binding/setDelayImportDirectory.py)

# Runs once the plug-in's target exists.
function(finish_plugin_link)
  add_dependencies(korvandilek qatomImportLibrary QATOM)
  set_property(TARGET korvandilek APPEND PROPERTY LINK_DEPENDS ${GEN}/libqatom.a)
  add_custom_command(TARGET korvandilek POST_BUILD
    COMMAND ${Python3_EXECUTABLE} ${DELAY_IMPORT_FIXUP} $<TARGET_FILE:korvandilek>
    COMMENT "Recording the delay imports in korvandilek.dll")
endfunction()
cmake_language(DEFER CALL finish_plugin_link)
