# Delay-loaded system DLLs: the exe names them in no import table, and each is
# loaded at the first call into it (by __delayLoadHelper2 of libmingwex).
# A command-line run that shows nothing then starts with kernel32 and advapi32
# alone; user32, comctl32 and shell32 cost most of a start under Wine.
#
# The delay-load libraries are made by dlltool from a .def that lists every
# name the system's import library has. Code that calls through them must see
# DECLSPEC_IMPORT as hidden visibility instead of dllimport (see
# hushgate_delay_load_calls): a dllimport call of such a library jumps to
# address 0 (binutils bug 14339).

# Compiles the calling code for delay-load libraries.
macro(hushgate_delay_load_calls)
  add_compile_definitions([[DECLSPEC_IMPORT=__attribute__((visibility("hidden")))]])
endmacro()

# Links the target with delay-load libraries of the named DLLs ("user32" ...).
function(hushgate_delay_load target)
  set(folder ${CMAKE_BINARY_DIR}/delay-load)
  if(CMAKE_SIZEOF_VOID_P EQUAL 4)
    set(import_prefix __imp__)
  else()
    set(import_prefix __imp_)
  endif()
  file(MAKE_DIRECTORY ${folder})
  foreach(dll IN LISTS ARGN)
    find_library(import_library_${dll} NAMES lib${dll}.a REQUIRED)
    set(library ${folder}/lib${dll}-delay.a)
    add_custom_command(
      OUTPUT ${library}
      COMMAND ${CMAKE_COMMAND} -DNM=${CMAKE_NM} -DIMPORT_LIBRARY=${import_library_${dll}}
              -DDLL=${dll}.dll -DDEF=${folder}/${dll}.def -DIMP=${import_prefix} -P ${PROJECT_SOURCE_DIR}/cmake/WriteDef.cmake
      # -k: the DLL exports the names without their stdcall "@n". dlltool names
      # its symbols after the output path: a relative one keeps the build
      # folder out of them.
      COMMAND ${CMAKE_DLLTOOL} -k -d ${dll}.def -y lib${dll}-delay.a -D ${dll}.dll
      DEPENDS ${import_library_${dll}} ${PROJECT_SOURCE_DIR}/cmake/WriteDef.cmake
      WORKING_DIRECTORY ${folder}
      COMMENT "Delay-load library of ${dll}.dll"
      VERBATIM)
    add_custom_target(${target}_delay_${dll} DEPENDS ${library})
    add_dependencies(${target} ${target}_delay_${dll})
    # Before the compiler's own import libraries, so that it resolves the calls.
    target_link_libraries(${target} PRIVATE ${library})
  endforeach()
endfunction()
