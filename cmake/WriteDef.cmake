# cmake -DNM=... -DIMPORT_LIBRARY=... -DDLL=... -DDEF=... -DIMP=... -P WriteDef.cmake
# Writes a module-definition file that exports every function the import
# library imports, named as its import symbols are (stdcall "@n" kept). IMP
# is what precedes the name in those symbols: "__imp__" for 32-bit x86, whose
# C names carry an underscore, "__imp_" for 64-bit.
execute_process(COMMAND ${NM} ${IMPORT_LIBRARY} OUTPUT_VARIABLE symbols ERROR_QUIET
                COMMAND_ERROR_IS_FATAL ANY)
string(REGEX MATCHALL "[ \t]I ${IMP}[^\r\n]+" imports "${symbols}")
list(TRANSFORM imports REPLACE "^[ \t]I ${IMP}" "")
list(REMOVE_DUPLICATES imports)
list(SORT imports)
if(NOT imports)
  message(FATAL_ERROR "no ${IMP} symbols in ${IMPORT_LIBRARY}")
endif()
list(JOIN imports "\n" lines)
file(WRITE ${DEF} "LIBRARY ${DLL}\nEXPORTS\n${lines}\n")
