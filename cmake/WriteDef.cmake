# cmake -DNM=... -DIMPORT_LIBRARY=... -DDLL=... -DDEF=... -P WriteDef.cmake
# Writes a module-definition file that exports every function the import
# library imports, named as its __imp__ symbols are (stdcall "@n" kept).
execute_process(COMMAND ${NM} ${IMPORT_LIBRARY} OUTPUT_VARIABLE symbols ERROR_QUIET
                COMMAND_ERROR_IS_FATAL ANY)
string(REGEX MATCHALL "[ \t]I __imp__[^\r\n]+" imports "${symbols}")
list(TRANSFORM imports REPLACE "^[ \t]I __imp__" "")
list(REMOVE_DUPLICATES imports)
list(SORT imports)
if(NOT imports)
  message(FATAL_ERROR "no __imp__ symbols in ${IMPORT_LIBRARY}")
endif()
list(JOIN imports "\n" lines)
file(WRITE ${DEF} "LIBRARY ${DLL}\nEXPORTS\n${lines}\n")
